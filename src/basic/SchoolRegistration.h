#pragma once
#include <QList>
#include <QString>

// The school's settings: registry key SchoolInfo, mirrored in the one row of
// SCHOOLINFO for the readers that work through SQL.
struct SchoolValues {
    // The fourteen texts in the order their changes are logged: SchCode,
    // UxPwd, SchNm, SchPrsdNm, SchTel, SchFax, SchPost, SchAddr, KidNm,
    // KidPrsdNm, KidTel, KidFax, KidPost, KidAddr.
    QList<QString> texts = QList<QString>(14);
    QString SelctSch; // "1" elementary, "2" middle or high school
    int UxHakB = 5;

    QString& text(const QString& name);
    QString text(const QString& name) const;
};

namespace SchoolRegistration {

struct Field {
    QString name;  // registry value and SCHOOLINFO column
    QString label; // what the log and the messages call it
    int maxBytes;  // CP949 bytes the input may hold
};
// The fourteen text fields in log order.
const QList<Field>& fields();

struct Loaded {
    SchoolValues values;
    bool keyExisted = false; // false: the key was created empty, no snapshot
    bool rowExists = false;  // the SCHOOLINFO row was there at opening
};
Loaded load();

// The first field whose text is too long or holds a character CP949 cannot
// write; empty when all are fine. *message gets the text to show.
QString validate(const SchoolValues& v, QString* message);

// Writes what changed against the snapshot (registry, one job-log row per
// change, passwords shown as ****), the student-number mode, and the
// SCHOOLINFO row. False (with the reason) when the settings could not be
// written.
bool save(const SchoolValues& snapshot, const SchoolValues& now, bool rowExists, QString* error = nullptr);

// Copies the picture over schoolseal.bmp in the data root.
bool registerSeal(const QString& source, QString* error = nullptr);

} // namespace SchoolRegistration
