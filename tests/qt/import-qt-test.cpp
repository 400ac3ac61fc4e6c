// SPDX-License-Identifier: MIT
// enumgen-import on Qt's own qnamespace.h gives, for every enum Qt registers
// in its namespace, every key with the value QMetaEnum has for it at run
// time, and no key QMetaEnum lacks but those the list marks as hidden from
// moc. The program also compiles the list imported from the golden case
// `classes` with the bundled templates, and looks an old name up as a key.
#include <QByteArray>
#include <QCoreApplication>
#include <QMetaEnum>
#include <QProcess>
#include <QSet>
#include <cstdio>

#include "theme.hpp"

namespace {

int failures = 0;

void fail(const QByteArray& text) {
    std::fprintf(stderr, "%s\n", text.constData());
    ++failures;
}

// The meta enum of Qt's namespace whose enum is `name`; invalid if none.
QMetaEnum qtEnum(const QByteArray& name) {
    for (int i = 0; i < Qt::staticMetaObject.enumeratorCount(); ++i)
        if (name == Qt::staticMetaObject.enumerator(i).enumName())
            return Qt::staticMetaObject.enumerator(i);
    return {};
}

QByteArray between(const QByteArray& line, const char* open, const char* close) {
    const int start = line.indexOf(open);
    return start < 0 ? QByteArray() : line.mid(start + 2, line.indexOf(close, start + 2) - start - 2);
}

// Compares the enums of the list with Qt's; returns the names it found.
QSet<QByteArray> compare(const QList<QByteArray>& lines) {
    QSet<QByteArray> found;
    QMetaEnum meta;
    int keys = 0;
    QByteArray hidden;
    const auto endEnum = [&] {
        if (meta.isValid() && keys != meta.keyCount())
            fail(QByteArray(meta.enumName()) + ": " + QByteArray::number(keys) + " keys, QMetaEnum has " +
                 QByteArray::number(meta.keyCount()));
    };
    for (const QByteArray& line : lines) {
        if (line.startsWith('+')) {
            endEnum();
            const QByteArray name = line.mid(1, line.indexOf('[') - 1);
            meta = qtEnum(name);
            keys = 0;
            found.insert(name);
            if (!meta.isValid())
                fail(name + ": Qt registers no such enum");
        } else if (line.startsWith("# ")) {
            hidden = line.mid(2, line.indexOf(':') - 2);
        } else if (line.startsWith('-') && meta.isValid()) {
            const QByteArray key = between(line, "[[", "]]");
            bool ok = false;
            const int value = static_cast<int>(between(line, "[=", "=]").toLongLong(&ok, 0));
            const bool isHidden = line.mid(1, line.indexOf('[') - 1) == hidden;
            keys += isHidden ? 0 : 1;
            if (!ok || (isHidden ? meta.keyToValue(key) != -1 : meta.keyToValue(key) != value))
                fail(meta.enumName() + QByteArray("::") + key + ": " + between(line, "[=", "=]") + ", QMetaEnum has " +
                     QByteArray::number(meta.keyToValue(key)));
        }
    }
    endEnum();
    return found;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (EnumInfo<Theme>::itemByKey(u"Dark") == nullptr || int(EnumInfo<Theme>::itemByKey(u"Dark")->value) != 5)
        fail("the imported list's key 'Dark' does not give Theme::Dark, 5");

    QStringList args = {QStringLiteral(QT_NAMESPACE_HEADER), QStringLiteral("--"), QStringLiteral("-fPIC")};
    for (const QString& dir : QStringLiteral(QT_INCLUDE_DIRS).split(u'|'))
        args << QStringLiteral("-I") + dir;
    QProcess import;
    import.start(QStringLiteral(ENUMGEN_IMPORT), args);
    if (!import.waitForFinished(60000) || import.exitCode() != 0)
        fail("enumgen-import failed on qnamespace.h:\n" + import.readAllStandardError());
    const QSet<QByteArray> found = compare(import.readAllStandardOutput().split('\n'));
    for (int i = 0; i < Qt::staticMetaObject.enumeratorCount(); ++i)
        if (!found.contains(Qt::staticMetaObject.enumerator(i).enumName()))
            fail(QByteArray(Qt::staticMetaObject.enumerator(i).enumName()) + ": not imported");
    std::printf("%lld enums compared\n", static_cast<long long>(found.size()));
    return failures == 0 ? 0 : 1;
}
