// SPDX-License-Identifier: MIT
// Every form the lock's model says stored data may hold (storedReads over the
// lock the list was generated with) reads in the generated code as the model
// says: enumFromText, flagsFromText and QVariant give the value of the item it
// names, or nothing. So the model the lock checks edits against cannot drift
// from what the templates read.
#include <QFile>
#include <QtTest>

#include "enum-lock.h"
#include "read-map-types.h"
#include "stored-reads.h"

using namespace Qt::StringLiterals;

namespace {

template <class V>
std::optional<V> fromVariant(const QString& text) {
    QVariant variant(text);
    return variant.convert(QMetaType::fromType<V>()) ? std::optional<V>(variant.value<V>()) : std::nullopt;
}

template <class V>
QString shown(const std::optional<V>& value) {
    if (!value)
        return u"nothing"_s;
    if constexpr (requires { value->toInt(); })
        return u"bits "_s + QString::number(value->toInt());
    else
        return EnumInfo<V>::name(*value) + u' ' + QString::number(int(*value));
}

// Where the generated code reads the forms of enum T otherwise than the model.
template <class T>
QStringList disagreements(const Lock& lock) {
    const QLatin1StringView name(EnumInfo<T>::typeName);
    const auto type = std::ranges::find(lock.enums, std::string(EnumInfo<T>::typeName), &LockEnum::name);
    if (type == lock.enums.end())
        return {name + u": not in the lock"_s};
    QStringList found;
    const std::vector<StoredRead> reads = storedReads(*type);
    for (const StoredRead& read : reads) {
        const QString text = QString::fromStdString(read.form.substr(1));
        const QString form = read.form[0] == 't' ? u"text"_s : u"number"_s;
        const auto compare = [&](QLatin1StringView how, const QString& got, const QString& meant) {
            if (got != meant)
                found << u"%1 %2 \"%3\": %4 reads it as %5, the model as %6"_s.arg(name, form, text, how, got, meant);
        };
        const std::string* itemName = read.item ? &type->items[*read.item].name : nullptr;
        const auto* item = itemName ? EnumInfo<T>::itemByName(QString::fromStdString(*itemName)) : nullptr;
        if (itemName && !item) {
            found << name + u": no item "_s + QString::fromStdString(*itemName);
            continue;
        }
        const std::optional<T> meant = item ? std::optional<T>(item->value) : std::nullopt;
        compare("enumFromText"_L1, shown(enumFromText<T>(text)), shown(meant));
        compare("QVariant"_L1, shown(fromVariant<T>(text)), shown(meant));
        if constexpr (EnumInfo<T>::isFlags) {
            // A flags text of nothing, a retired item's, is dropped: no bits.
            const std::optional<QFlags<T>> bits = meant ? QFlags<T>(*meant) : QFlags<T>();
            compare("flagsFromText"_L1, shown(flagsFromText<T>(text)), shown(bits));
            compare("QVariant flags"_L1, shown(fromVariant<QFlags<T>>(text)), shown(bits));
        }
    }
    // And the other way: the model has every key and name the code reads.
    for (const auto& item : EnumInfo<T>::info)
        for (const QString& text : {item.key.toString(), item.name.toString()})
            if (!text.isEmpty() && std::ranges::find(reads, 't' + text.toStdString(), &StoredRead::form) == reads.end())
                found << name + u" text \""_s + text + u"\": the code reads it, the model has no such form"_s;
    return found;
}

template <class... T>
QStringList allDisagreements(const Lock& lock) {
    QStringList found;
    ((found << disagreements<T>(lock)), ...);
    return found;
}

}  // namespace

class ReadMapTest : public QObject {
    Q_OBJECT

private slots:
    void formsReadAsTheLockSays() {
        QFile file(QString::fromUtf8(LOCK_FILE));
        QVERIFY(file.open(QIODevice::ReadOnly));
        ListMessages messages;
        const Lock lock = parseLock(file.readAll().toStdString(), LOCK_FILE, &messages);
        QVERIFY(!hasErrors(messages));
        const QStringList found = allDisagreements<READ_MAP_TYPES>(lock);
        QVERIFY2(found.isEmpty(), qPrintable(found.join(u'\n')));
    }
};

QTEST_GUILESS_MAIN(ReadMapTest)
#include "read-map-test.moc"
