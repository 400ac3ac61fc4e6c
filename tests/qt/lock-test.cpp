// SPDX-License-Identifier: MIT
// Settings written by one build of an application, read by the next after a
// key change, a rename and a removed flag accepted with enumgen --lock-update
// (see settings.enums), and a number stored before enumgen: nothing is lost
// that can be read, and a text no build wrote still fails.
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include "option.hpp"
#include "theme.hpp"
#include "unit.hpp"

using namespace Qt::StringLiterals;

class LockTest : public QObject {
    Q_OBJECT

private slots:
    // The settings file as the build before wrote it, read by this one, and
    // written back with the keys of this one.
    void settingsOfTheBuildBeforeRead() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"drawing.ini"_s);
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[General]\ntheme=dark\ncontrast=Contrast\noptions=antialias|shadow\nshadow=shadow\nunit=1\n");
        file.close();
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.value("theme").value<Theme>(), Theme::Dark);
        QCOMPARE(settings.value("contrast").value<Theme>(), Theme::HighContrast);
        QCOMPARE(settings.value("options").value<Options>(), Options(Option::Antialias));
        QCOMPARE(settings.value("shadow").value<Options>(), Options());
        QCOMPARE(settings.value("unit").value<Unit>(), Unit::Inch);

        settings.setValue("theme", enumText(Theme::Dark));
        settings.setValue("contrast", QVariant::fromValue(Theme::HighContrast).toString());
        settings.setValue("options", flagsText(Options(Option::Antialias)));
        settings.sync();
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ini = file.readAll();
        QVERIFY2(ini.contains("theme=night\n") && ini.contains("contrast=contrast\n") &&
                     ini.contains("options=antialias\n"),
                 ini.constData());
    }

    // Each way a text is read takes the former key and name.
    void formerTextsReadEverywhere() {
        QCOMPARE(EnumInfo<Theme>::fromKey(u"dark"), Theme::Dark);
        QCOMPARE(EnumInfo<Theme>::fromName(u"Contrast"), Theme::HighContrast);
        QVERIFY(enumFromText<Theme>(u"dark") == Theme::Dark);
        const EnumNameVariantConverter conv = _EnumNameVariantConverter(qMetaTypeId<Theme>());
        QCOMPARE(conv.nameToVariant(u"Contrast"_s).value<Theme>(), Theme::HighContrast);
        QCOMPARE(EnumInfo<Theme>::name(Theme::HighContrast), u"HighContrast"_s);
    }

    void unknownTextsStillFail() {
        QVERIFY(flagsFromText<Option>(u"antialias|glow") == std::nullopt);
        QVariant unknown(u"shadow|glow"_s);
        QVERIFY(!unknown.convert(QMetaType::fromType<Options>()));
        // A removed item alone is no value.
        QVERIFY(enumFromText<Option>(u"shadow") == std::nullopt);
        QVERIFY(enumFromText<Theme>(u"Dusk") == std::nullopt);
        QVERIFY(enumFromText<Unit>(u"7") == std::nullopt);
        QVERIFY(enumFromText<Unit>(u"0x1") == std::nullopt);
        QCOMPARE(EnumInfo<Theme>::fromKey(u"glow", Theme::Light), Theme::Light);
    }

    // Midnight = Dark compiles, reads as Dark, is written as Dark and is no
    // row of the model.
    void aliasReadsAndWritesAsItsItem() {
        QCOMPARE(Theme::Midnight, Theme::Dark);
        QVERIFY(enumFromText<Theme>(u"midnight") == Theme::Dark);
        QCOMPARE(enumText(Theme::Midnight), u"night"_s);
        QCOMPARE(EnumInfo<Theme>::description(Theme::Midnight), u"Dark"_s);
        QCOMPARE(EnumModel<Theme>().rowCount(), 3);
    }
};

QTEST_GUILESS_MAIN(LockTest)
#include "lock-test.moc"
