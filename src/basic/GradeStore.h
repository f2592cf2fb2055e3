#pragma once
#include "shared/InputCheck.h"

#include <QList>
#include <QString>
#include <QStringList>

// The grades of the school (C_SCD): what the grade dialog saves and deletes.
struct GradeRow {
    QString code; // SCd: one character, the first of every student number
    QString name; // SCdNm
    QString kind; // CompyNm: one of GradeStore::kinds(), or empty
};

namespace GradeStore {

enum Field { FieldCode = 1, FieldName, FieldKind };

inline const QString kMenuName = QStringLiteral("학년등록");

const QStringList& kinds();

// Every grade in key order.
QList<GradeRow> rows();

// Refusal of the inputs, or an empty one.
Refusal check(const GradeRow& g);

struct SaveResult {
    Refusal refusal;
    bool saved = false;
    bool inserted = false;
};

// Inserts or replaces the grade of that code and logs it, in one transaction.
SaveResult save(const GradeRow& g);

// Deletes the grade when it exists; the log row is written either way.
bool remove(const QString& code);

} // namespace GradeStore
