// SPDX-License-Identifier: MIT
// The generated code of the shipped templates, at run time against Qt.
#include <QComboBox>
#include <QProcess>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QTranslator>
#include <QXmlStreamReader>
#include <QtTest>

#include "color.hpp"
#include "enums.hpp"
#include "item.hpp"
#include "nothing.hpp"
#include "option.hpp"
#include "priority.hpp"
#include "qml-target.h"
#include "single.hpp"
#include "unit.hpp"
#include "weight.hpp"

using namespace Qt::StringLiterals;

namespace {

QString storedText(const auto& item) {
    return (item.key.isEmpty() ? item.name : item.key).toString();
}

// Every item round-trips value -> name, key, text, QVariant -> value, and the
// lookups find it; unknown names, keys and texts give the fallback or fail.
// An alias reads as its value, which is written as the first item with it.
template <class T>
void checkItems() {
    using Info = EnumInfo<T>;
    QCOMPARE(Info::info.size(), size_t(Info::count));
    const auto conv = _EnumNameVariantConverter(qMetaTypeId<T>());
    QVERIFY(conv.variantToName && conv.nameToVariant);
    for (const auto& item : Info::info) {
        const auto* first = Info::item(item.value);
        QVERIFY(first && first->value == item.value && first <= &item);
        QCOMPARE(Info::name(item.value), first->name.toString());
        QCOMPARE(Info::key(item.value), first->key.toString());
        QCOMPARE(Info::fromName(item.name), item.value);
        QCOMPARE(Info::fromKey(item.key), item.value);
        QCOMPARE(Info::itemByName(item.name), &item);
        QCOMPARE(Info::itemByKey(item.key), &item);

        const QVariant variant = conv.nameToVariant(item.name.toString());
        QCOMPARE(variant.metaType(), QMetaType::fromType<T>());
        QCOMPARE(variant.value<T>(), item.value);
        QCOMPARE(conv.variantToName(variant), first->name.toString());

        // The stored text is the key, or the name of an item without one; the
        // value as a number, as stored before enumgen, reads too.
        QCOMPARE(QVariant::fromValue(item.value).toString(), storedText(*first));
        QCOMPARE(QVariant(storedText(item)).value<T>(), item.value);
        QCOMPARE(QVariant(item.name.toString()).value<T>(), item.value);
        QCOMPARE(QVariant(QString::number(int(item.value))).value<T>(), item.value);
    }
    for (const QString& unknown : {u"NoSuchItem"_s, QString(), u"12345"_s}) {
        QVariant variant(unknown);
        QVERIFY(!variant.convert(QMetaType::fromType<T>()));
    }
    QVERIFY(!conv.nameToVariant(u"NoSuchItem"_s).isValid());
    QCOMPARE(Info::fromName(u"NoSuchItem"), Info::defaultValue);
    QCOMPARE(Info::itemByKey(u"no-such-key"), nullptr);
}

template <class... T>
void checkAllItems() {
    (checkItems<T>(), ...);
}

// Every enum's and item's description as "<context>/<text>", untranslated
// while no translator is installed.
template <class... T>
QStringList allDescriptions() {
    QStringList texts;
    auto add = [&]<class E>(E*) {
        const QString context = QString::fromUtf8(EnumInfo<E>::typeName) + u'/';
        texts << context + EnumInfo<E>::typeDescription();
        for (const auto& item : EnumInfo<E>::info)
            texts << context + EnumInfo<E>::description(item.value);
    };
    (add(static_cast<T*>(nullptr)), ...);
    return texts;
}

template <class V>
QString debugText(V value) {
    QString text;
    QDebug(&text) << value;
    return text.trimmed();
}

}  // namespace

class EnumsTest : public QObject {
    Q_OBJECT

private slots:
    void itemsRoundTrip() {
        checkAllItems<Color, Priority, Weight, Option, Unit, Single, Nothing, Item>();
        QCOMPARE(int(Priority::Urgent), 51);
        QCOMPARE(EnumInfo<Nothing>::count, 0);
    }

    void lookupsRejectValuesOfNoItemAndDefaultIsStarred() {
        QCOMPARE(EnumInfo<Color>::item(Color(3)), nullptr);
        QCOMPARE(EnumInfo<Color>::item(Color(-1)), nullptr);
        QCOMPARE(EnumInfo<Priority>::item(Priority(1)), nullptr);
        QCOMPARE(EnumInfo<Option>::item(Option(3)), nullptr);
        QCOMPARE(EnumInfo<Nothing>::item(Nothing(0)), nullptr);
        QCOMPARE(EnumInfo<Priority>::fromKey(u"none", Priority::High), Priority::High);

        QCOMPARE(EnumInfo<Color>::defaultValue, Color::Green);
        QCOMPARE(EnumInfo<Priority>::defaultValue, Priority::Normal);
        QCOMPARE(EnumInfo<Option>::defaultValue, Option::NoOption);
        QCOMPARE(EnumInfo<Unit>::defaultValue, PrinterUnit);
        QCOMPARE(EnumInfo<Single>::defaultValue, Single::Only);
        QCOMPARE(EnumInfo<Item>::defaultValue, Item::Item);
    }

    void typeInfoFlagsAndData() {
        QCOMPARE(EnumInfo<Color>::typeKey(), u"color"_s);
        QCOMPARE(EnumInfo<Color>::typeDescription(), u"Colour of a shape"_s);
        static_assert(std::is_same_v<EnumInfo<Color>::DataType, QVariant>);
        static_assert(std::is_same_v<EnumInfo<Unit>::DataType, UnitInfo>);
        QCOMPARE(EnumInfo<Color>::item(Color::Blue)->data.toString(), u"#0000ff"_s);
        QCOMPARE(EnumInfo<Priority>::item(Priority::Urgent)->data.toInt(), 51);
        QCOMPARE(EnumInfo<Unit>::item(Unit::Inch)->data.millimetres, 25.4);

        static_assert(std::is_same_v<Options, QFlags<Option>> && EnumInfo<Option>::isFlags);
        QCOMPARE(AllOptions.toInt(), 7);
    }

    void debugOutputAndFlagsText() {
        QCOMPARE(debugText(Color::Red), u"Color::Red"_s);
        QCOMPARE(debugText(Priority(42)), u"Priority(42)"_s);
        QCOMPARE(debugText(Option::Antialias | Option::Outline), u"QFlags<Option>(Antialias|Outline)"_s);
        QCOMPARE(debugText(Options()), u"QFlags<Option>(NoOption)"_s);
        QCOMPARE(debugText(Options::fromInt(0x11)), u"QFlags<Option>(Antialias|0x10)"_s);

        const Options options = Option::Antialias | Option::Shadow;
        QCOMPARE(flagsText(options), u"antialias|shadow"_s);
        QCOMPARE(flagsText(Options()), u"none"_s);
        QCOMPARE(flagsText(Options::fromInt(0x11)), u"antialias|0x10"_s);
        QVERIFY(flagsFromText<Option>(u" shadow|antialias ") == options);
        QVERIFY(flagsFromText<Option>(u"antialias|0x10") == Options::fromInt(0x11));
        QVERIFY(flagsFromText<Option>(u"none") == Options());
        QVERIFY(flagsFromText<Option>(u"antialias|glow") == std::nullopt);
        const Options highBit = Options::fromInt(int(0x80000001u));
        QVERIFY(flagsFromText<Option>(flagsText(highBit)) == highBit);

        QCOMPARE(QVariant::fromValue(options).toString(), u"antialias|shadow"_s);
        QCOMPARE(QVariant(u"outline|shadow"_s).value<Options>(), Option::Outline | Option::Shadow);
        QVariant unknown(u"glow"_s);
        QVERIFY(!unknown.convert(QMetaType::fromType<Options>()));
    }

    // Written as readable keys, read back as values by a new QSettings.
    void settingsRoundTrip() {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"drawing.ini"_s);
        const Options options = Option::Antialias | Option::Shadow;
        {
            QSettings settings(path, QSettings::IniFormat);
            settings.setValue("color", enumText(Color::Blue));
            settings.setValue("options", flagsText(options));
        }
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray ini = file.readAll();
        QVERIFY2(ini.contains("color=blue\n") && ini.contains("options=antialias|shadow\n"), ini.constData());
        QSettings settings(path, QSettings::IniFormat);
        QCOMPARE(settings.value("color").value<Color>(), Color::Blue);
        QCOMPARE(settings.value("options").value<Options>(), options);
    }

    void qmlReadsTheModelAndSetsAnEnumFromText() {
        QQmlEngine engine;
        EnumModel<Color> colors;
        Target target;
        engine.rootContext()->setContextProperty(u"colors"_s, &colors);
        engine.rootContext()->setContextProperty(u"target"_s, &target);
        QQmlComponent component(&engine);
        component.setData(R"(
            import QtQml
            import QtQml.Models
            QtObject {
                property Instantiator rows: Instantiator {
                    model: colors
                    delegate: QtObject {
                        required property string key
                        required property string name
                        required property string display
                        property string text: key + " " + name + " " + display
                    }
                }
                Component.onCompleted: target.color = "blue"
            })",
                          QUrl());
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        QObject* row = nullptr;
        QVERIFY(QMetaObject::invokeMethod(root->property("rows").value<QObject*>(), "objectAt",
                                          Q_RETURN_ARG(QObject*, row), Q_ARG(int, 2)));
        QCOMPARE(row->property("text").toString(), u"blue Blue Blue"_s);
        QCOMPARE(target.color, Color::Blue);
    }

#ifdef ENUMGEN_QML
    void qmlNamesValuesAndHasModelTypes() {
        QTest::failOnWarning(QRegularExpression(u".*"_s));
        QQmlEngine engine;
        Target target;
        QQmlComponent component(&engine, QUrl(u"qrc:/EnumTests/EnumsTest.qml"_s));
        std::unique_ptr<QObject> root(
            component.createWithInitialProperties({{u"target"_s, QVariant::fromValue(&target)}}));
        QVERIFY2(root, qPrintable(component.errorString()));
        QString failures = u"not run"_s;
        QVERIFY(QMetaObject::invokeMethod(root.get(), "failures", Q_RETURN_ARG(QString, failures)));
        QCOMPARE(failures, QString());
        QCOMPARE(target.color, Color::Green);
        QCOMPARE(target.options, Option::Antialias | Option::Outline);
    }
#endif

    // An alias compiles, writes as the item it repeats, and is no row of a view.
    void aliasesAreNoRows() {
        QCOMPARE(debugText(Weight::Regular), u"Weight::Normal"_s);
        EnumModel<Weight> model;
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.row(Weight::Regular), 1);
        QCOMPARE(model.row(Weight::Bold), 2);
        QCOMPARE(model.data(model.index(2), EnumKeyRole).toString(), u"bold"_s);
    }

    void registryCoversEveryEnum() {
        QCOMPARE(EnumTotalCount, 8);
        const std::array<int, 8> ids = {qMetaTypeId<Color>(),  qMetaTypeId<Priority>(), qMetaTypeId<Weight>(),
                                        qMetaTypeId<Option>(), qMetaTypeId<Unit>(),     qMetaTypeId<Single>(),
                                        qMetaTypeId<Nothing>(), qMetaTypeId<Item>()};
        QCOMPARE(_EnumMetaTypeIds(), ids);
        for (int other : {qMetaTypeId<int>(), qMetaTypeId<QString>(), qMetaTypeId<Options>()}) {
            const EnumNameVariantConverter conv = _EnumNameVariantConverter(other);
            QVERIFY(!conv.variantToName && !conv.nameToVariant);
        }
    }

    // Runs before a translator is installed: descriptions are the source texts.
    void lupdateExtractsEveryDescription() {
        QTemporaryDir dir;
        const QString ts = dir.filePath(u"enums.ts"_s);
        QProcess lupdate;
        lupdate.start(QStringLiteral(LUPDATE), {u"-silent"_s, QStringLiteral(ENUM_DIR), u"-ts"_s, ts});
        QVERIFY(lupdate.waitForFinished(60000));
        QCOMPARE(lupdate.exitCode(), 0);

        QFile file(ts);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QXmlStreamReader xml(&file);
        QSet<QString> sources;
        QString context;
        while (!xml.atEnd()) {
            if (xml.readNext() != QXmlStreamReader::StartElement)
                continue;
            if (xml.name() == u"name")
                context = xml.readElementText();
            else if (xml.name() == u"source")
                sources.insert(context + u'/' + xml.readElementText());
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));

        QStringList missing;
        for (const QString& text : allDescriptions<Color, Priority, Weight, Option, Unit, Single, Nothing, Item>())
            if (!sources.contains(text))
                missing << text;
        QCOMPARE(missing, QStringList());
        // Each enum's texts in its own context; the alias's is never shown.
        QCOMPARE(sources.size(), 8 + 20);
    }

    // A combo box over the model shows the descriptions, follows a new
    // translator, and gives the chosen value back.
    void comboBoxAndTranslatedDescriptions() {
        QComboBox combo;
        auto* model = new EnumModel<Color>(&combo);
        combo.setModel(model);
        QCOMPARE(combo.count(), 3);
        QCOMPARE(combo.itemText(0), u"Red"_s);
        combo.setCurrentIndex(model->row(Color::Blue));
        QCOMPARE(combo.currentData(EnumValueRole).value<Color>(), Color::Blue);
        QCOMPARE(combo.currentData(EnumKeyRole).toString(), u"blue"_s);
        QCOMPARE(combo.currentData(EnumNameRole).toString(), u"Blue"_s);
        QCOMPARE(model->row(Color(7)), -1);
        QCOMPARE(EnumModel<Nothing>().rowCount(), 0);

        QSignalSpy changed(model, &QAbstractItemModel::dataChanged);
        QTranslator french;
        QVERIFY(french.load(QStringLiteral(FRENCH_QM)));
        QCoreApplication::installTranslator(&french);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(combo.itemText(0), u"Rouge"_s);
        QCOMPARE(EnumInfo<Color>::typeDescription(), u"Couleur d'une forme"_s);
        QCOMPARE(EnumInfo<Option>::description(Option::Antialias), u"Bords lissés"_s);
        QCOMPARE(EnumInfo<Priority>::description(Priority::Normal), u"Normale"_s);
        QCOMPARE(EnumInfo<Weight>::description(Weight::Regular), u"Standard"_s);
        QCOMPARE(combo.itemText(2), u"Blue"_s);  // untranslated
        QCoreApplication::removeTranslator(&french);
        QCOMPARE(changed.count(), 2);
        QCOMPARE(combo.itemText(0), u"Red"_s);
    }
};

QTEST_MAIN(EnumsTest)
#include "enums-test.moc"
