#pragma once
#include "shared/InputCheck.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

// The school's own bank accounts (C_ACCT) and each bank's notes (C_BANKH):
// what the bank-account dialog saves and deletes. The key of an account is
// bank, kind, account number and institution code.
struct AcctRow {
    QString bankCd;
    QString gubun; // "집금" collection or "배분" distribution
    QString acctNo;
    QString compyNo; // institution code the bank gave the school
    QString passwd;
    QString gcode;
    QString eduCode; // education-treasury code, bank 11
    QString repYn;   // "Y" on the bank's representative account
    QString repCd;   // CMS registration code, bank 26
    bool isRep() const { return repYn == QLatin1String("Y"); }
};

// The inputs of the dialog.
struct AcctInput {
    QString bankCd;
    bool distribution = false;
    QString acctNo;
    QString compyNo;
    QString passwd;
    QString gcode;
    QString eduCode;
    QString repCd;
    QString gubun() const;
};

namespace AccountStore {

enum Field {
    FieldBank = 1,
    FieldKind,
    FieldAcctNo,
    FieldCompyNo,
    FieldPasswd,
    FieldGroup,
    FieldEduCode,
    FieldRepCd
};

inline const QString kMenuName = QStringLiteral("은행등록");
inline const QString kCollect = QStringLiteral("집금");
inline const QString kDistribute = QStringLiteral("배분");

// Every account by bank, kind and institution code.
QList<AcctRow> rows();
std::optional<AcctRow> find(const QString& bankCd, const QString& gubun, const QString& acctNo,
                            const QString& compyNo);

// "code.name" of a listed bank as the bank combo shows it; the code alone
// for a bank that is not listed.
QString bankText(const QString& bankCd);

// The check made when the account number is left: bank 11 issues numbers of
// 11 to 13 digits, the other banks follow their own rules. True when either
// input is empty.
bool acctNoValid(const QString& bankCd, const QString& acctNo);

struct SaveResult {
    Refusal refusal;
    bool saved = false;
    bool inserted = false;
    bool representative = false; // the new account became the bank's representative
};

// Edits the account of that key (group, password and the bank's own codes)
// or inserts a new one; the first account of a bank becomes its
// representative. Logged with the password masked.
SaveResult save(const AcctInput& in);

// Refusal of deleting the typed account while the shown (clicked) row is on
// screen: the representative account stays, whichever way it is reached.
Refusal checkDelete(const AcctInput& typed, const std::optional<AcctRow>& shown);

struct DeleteResult {
    Refusal refusal;
    bool deleted = false;
};

// Deletes the typed account when it exists and is not the representative.
DeleteResult remove(const AcctInput& typed, const std::optional<AcctRow>& shown);

// C_BANKH: created and filled with the notes the first time the dialog
// opens. True when the table is there afterwards.
bool ensureBankNotes();
// The notes of a bank, in table order.
QStringList bankNotes(const QString& bankCd);
// Number of notes written on creation.
int defaultNoteCount();

} // namespace AccountStore
