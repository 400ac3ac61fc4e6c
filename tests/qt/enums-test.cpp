// The generated code of the shipped templates, at run time against Qt.
#include <QDir>
#include <QProcess>
#include <QSet>
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
#include "single.hpp"
#include "unit.hpp"

using namespace Qt::StringLiterals;

namespace {

// Every item round-trips value -> name, key, QVariant -> value, and the lookups
// find it; unknown names and keys give the fallback.
template <class T>
void checkItems() {
    using Info = EnumInfo<T>;
    QCOMPARE(Info::info.size(), size_t(Info::count));
    const auto conv = _EnumNameVariantConverter(qMetaTypeId<T>());
    QVERIFY(conv.variantToName && conv.nameToVariant);
    for (const auto& item : Info::info) {
        QCOMPARE(Info::item(item.value), &item);
        QCOMPARE(Info::name(item.value), item.name.toString());
        QCOMPARE(Info::key(item.value), item.key.toString());
        QCOMPARE(Info::fromName(item.name), item.value);
        QCOMPARE(Info::fromKey(item.key), item.value);
        QCOMPARE(Info::itemByName(item.name), &item);
        QCOMPARE(Info::itemByKey(item.key), &item);

        const QVariant variant = conv.nameToVariant(item.name.toString());
        QCOMPARE(variant.metaType(), QMetaType::fromType<T>());
        QCOMPARE(variant.value<T>(), item.value);
        QCOMPARE(conv.variantToName(variant), item.name.toString());
        QCOMPARE(_EnumVariantToEnumName<T>(QVariant::fromValue(item.value)), item.name.toString());
    }
    QVERIFY(!conv.nameToVariant(u"NoSuchItem"_s).isValid());
    QCOMPARE(Info::fromName(u"NoSuchItem"), Info::defaultValue);
    QCOMPARE(Info::itemByKey(u"no-such-key"), nullptr);
}

template <class... T>
void checkAllItems() {
    (checkItems<T>(), ...);
}

// Every enum's and item's description, untranslated while no translator is installed.
template <class... T>
QStringList allDescriptions() {
    QStringList texts;
    auto add = [&]<class E>(E*) {
        texts << EnumInfo<E>::typeDescription();
        for (const auto& item : EnumInfo<E>::info)
            texts << EnumInfo<E>::description(item.value);
    };
    (add(static_cast<T*>(nullptr)), ...);
    return texts;
}

}  // namespace

class EnumsTest : public QObject {
    Q_OBJECT

private slots:
    void itemsRoundTrip() {
        checkAllItems<Color, Priority, Option, Unit, Single, Nothing, Item>();
        QCOMPARE(EnumInfo<Priority>::fromKey(u"urgent"), Priority::Urgent);
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

        static_assert(std::is_same_v<Options, QFlags<Option>>);
        const Options options = Option::Antialias | Option::Outline;
        QVERIFY(options.testFlag(Option::Outline) && !options.testFlag(Option::Shadow));
        QCOMPARE(options.toInt(), 5);
        QCOMPARE(AllOptions.toInt(), 7);
    }

    void registryCoversEveryEnum() {
        QCOMPARE(EnumTotalCount, 7);
        const std::array<int, 7> ids = {qMetaTypeId<Color>(), qMetaTypeId<Priority>(), qMetaTypeId<Option>(),
                                        qMetaTypeId<Unit>(),  qMetaTypeId<Single>(),   qMetaTypeId<Nothing>(),
                                        qMetaTypeId<Item>()};
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
            else if (xml.name() == u"source" && context == u"EnumInfo")
                sources.insert(xml.readElementText());
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));

        QStringList missing;
        for (const QString& text : allDescriptions<Color, Priority, Option, Unit, Single, Nothing, Item>())
            if (!sources.contains(text))
                missing << text;
        QCOMPARE(missing, QStringList());
        QCOMPARE(sources.size(), 7 + 17);
    }

    void descriptionsAreTranslated() {
        QTranslator french;
        QVERIFY(french.load(QStringLiteral(FRENCH_QM)));
        QCoreApplication::installTranslator(&french);
        QCOMPARE(EnumInfo<Color>::description(Color::Red), u"Rouge"_s);
        QCOMPARE(EnumInfo<Color>::typeDescription(), u"Couleur d'une forme"_s);
        QCOMPARE(EnumInfo<Option>::description(Option::Antialias), u"Bords lissés"_s);
        QCOMPARE(EnumInfo<Color>::description(Color::Blue), u"Blue"_s);
        QCoreApplication::removeTranslator(&french);
        QCOMPARE(EnumInfo<Color>::description(Color::Red), u"Red"_s);
    }
};

QTEST_GUILESS_MAIN(EnumsTest)
#include "enums-test.moc"
