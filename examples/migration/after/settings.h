// SPDX-License-Identifier: MIT
// The settings of sketch. Its enums are generated from sketch.enums.
#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>

#include "kind.hpp"
#include "option.hpp"
#include "theme.hpp"

QT_FORWARD_DECLARE_CLASS(QSettings)

class AppSettings : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("The application has one")
    // ThemeEnum::Theme is Theme, spelled as qmllint knows it.
    Q_PROPERTY(ThemeEnum::Theme theme MEMBER theme NOTIFY changed)

public:
    void load(const QSettings& ini);
    void save(QSettings& ini) const;

    Theme theme = Theme::Light;
    Kind shape = Kind::Circle;
    Options options = Option::Antialias;

signals:
    void changed();
};
