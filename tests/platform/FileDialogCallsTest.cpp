#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Every open and save dialog of the program is the program's own
// (platform/ui/FileDialog): Korean, wide enough for each file's name, size,
// kind and date. Qt's dialog used directly anywhere else opens narrow, with
// English kinds and the date column off-screen.

namespace {

// The lines naming Qt's file dialog in the sources under src, outside
// platform/ui: "path:line: text", paths relative to src.
QStringList directUses(const QString& src) {
    const QString own = QDir(src).filePath(QStringLiteral("platform/ui")) + QLatin1Char('/');
    static const QRegularExpression qtDialog(QStringLiteral("\\bQFileDialog\\b"));
    QStringList out;
    QDirIterator it(src, {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        if (file.startsWith(own)) continue;
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            out << QDir(src).relativeFilePath(file) + QStringLiteral(": unreadable");
            continue;
        }
        int n = 0;
        while (!f.atEnd()) {
            const QString line = QString::fromUtf8(f.readLine()).trimmed();
            ++n;
            if (line.contains(qtDialog))
                out << QStringLiteral("%1:%2: %3").arg(QDir(src).relativeFilePath(file)).arg(n).arg(line);
        }
    }
    out.sort();
    return out;
}

void write(const QString& path, const QByteArray& text) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
}

TEST(FileDialogCalls, EveryFileDialogIsTheProgramsOwn) {
    const QStringList found = directUses(QStringLiteral(ZQ_SOURCE_DIR));
    EXPECT_TRUE(found.isEmpty()) << "Qt's file dialog used directly; open it through FileDialog::pick:\n"
                                 << found.join(QLatin1Char('\n')).toStdString();
}

// The search names each direct use with its file and line, and leaves the
// program's own dialog and names that only begin alike alone.
TEST(FileDialogCalls, TheSearchNamesEachDirectUse) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString src = dir.filePath(QStringLiteral("src"));
    write(src + QStringLiteral("/basic/Seal.cpp"),
          "#include <QFileDialog>\n\nQString f() {\n    return QFileDialog::getOpenFileName(nullptr);\n}\n");
    write(src + QStringLiteral("/students/Form.h"), "class QFileDialog;\n");
    write(src + QStringLiteral("/students/Form.cpp"), "#include \"platform/ui/FileDialog.h\"\nFileDialog::pick(s);\n");
    write(src + QStringLiteral("/van/Other.cpp"), "QFileDialogs x; // not Qt's\n");
    write(src + QStringLiteral("/platform/ui/FileDialog.cpp"), "#include <QFileDialog>\nQFileDialog dlg;\n");
    EXPECT_EQ(directUses(src), (QStringList{
                                   QStringLiteral("basic/Seal.cpp:1: #include <QFileDialog>"),
                                   QStringLiteral("basic/Seal.cpp:4: return QFileDialog::getOpenFileName(nullptr);"),
                                   QStringLiteral("students/Form.h:1: class QFileDialog;"),
                               }));
}

} // namespace
