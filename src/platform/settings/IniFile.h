#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// An INI file that keeps its sections and keys in file order and writes
// either CP949 (the program's own INI files) or UTF-8. Reading follows the
// file: a byte-order mark (UTF-8, UTF-16 LE or BE) decides, UTF-16 is also
// known by its zero bytes, and a CP949 file may have been saved as UTF-8 by
// another editor.
class IniFile {
public:
    enum class Encoding { Cp949, Utf8 };

    // Settings files are small; a larger one is refused, not read.
    static constexpr qint64 MaxBytes = 1024 * 1024;

    explicit IniFile(QString path, Encoding enc = Encoding::Cp949);

    // Reads the file; a missing file gives an empty one and true. A key
    // held twice in a section keeps its first value, as the Windows INI
    // calls read it, and is written back once. False with error() when the
    // file cannot be read or is refused; save() then refuses too, so a file
    // that was not read is never replaced.
    bool load();
    // Writes the whole file through a temporary name. False with error() when
    // it cannot be written, or a CP949 file would have to lose a character.
    bool save() const;
    // Why the last load or save failed, in Korean; empty after success.
    const QString& error() const { return error_; }

    bool contains(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& def = QString()) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    void remove(const QString& section, const QString& key);
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    const QString& path() const { return path_; }
    void setFileMode(int mode) { mode_ = mode; }

private:
    struct Entry {
        QString key;
        QString value;
    };
    struct Section {
        QString name;
        QList<Entry> entries;
    };
    Section* find(const QString& section);
    const Section* find(const QString& section) const;

    QString path_;
    Encoding enc_;
    bool saveWithMode(const QByteArray& bytes) const;
    int mode_ = -1;
    QList<Section> sections_;
    bool unread_ = false; // the last load failed
    mutable QString error_;
};
