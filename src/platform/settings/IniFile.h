#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// An INI file that keeps its sections and keys in file order and reads and
// writes either CP949 (the program's own INI files) or UTF-8.
class IniFile {
public:
    enum class Encoding { Cp949, Utf8 };

    explicit IniFile(QString path, Encoding enc = Encoding::Cp949);

    // Reads the file; a missing file gives an empty one and true.
    bool load();
    // Writes the whole file through a temporary name.
    bool save() const;

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
};
