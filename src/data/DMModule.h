#pragma once
#include <QString>

// The service module: data root, machine id, padding, digit filters,
// student-number rules, amounts in Korean numerals and the job log.
class TDMLib {
public:
    // Fixes the data root as the current directory and creates its folders.
    TDMLib();
    // Same with an explicit data root (tests, the driver).
    explicit TDMLib(const QString& dataRoot);

    void DMLibCreate(const QString& dataRoot);
    void MakeDataFolders();
    static QString GetMachineId(const QString& path);

    // Padding that never cuts: the caller places the result.
    static QString PadLeftZero(const QString& s, int len);
    static QString PadRightSpace(const QString& s, int len);
    static QString DigitsOnly(const QString& s);
    static QString DigitsAndDot(const QString& s);
    static bool IsAllDigits(const QString& s);
    // Amount in Korean numerals; false in *ok when the amount is not a whole
    // non-negative number.
    static QString AmtToKorean(double amt, bool* ok = nullptr);

    // Appends one row to this month's job log (the table is created when
    // missing). False when the row could not be written.
    bool WriteJobLog(const QString& menuName, const QString& jobLog);

    QString FDataDir;
    QString FMachineId;
    QString FSchCode;
    QString FPassword;

    // The data root's folder of that name, with a trailing '/'.
    QString dir(const QString& name) const;
    // Path below the data root.
    QString path(const QString& relative) const;

    static const QStringList& DataFolderNames();
};

extern TDMLib* DMLib;

// Plain routines and program-wide variables of the unit.
extern QString SelCustNo;
extern int SelReplyTy;
extern int FinalConfirm;
extern int SNoLen;

QString ZeroStr(int count);
QString SpaceStr(int count);
QString PadZero(const QString& s, int len, bool atRight);
QString PadSpace(const QString& s, int len, bool atRight);
QString RemoveChar(const QString& s, QChar ch);
QString BlankToZero(const QString& s);
QString FillZero2(const QString& s);
QString FillZero3(const QString& s);
QString NormSNo(int mode, const QString& s);
QString MakeSNo(const QString& hak, const QString& ban, const QString& bun);
bool IsValidSNoInput(const QString& hak, const QString& ban, const QString& bun);
// False in *ok when a bound is not an integer (the caller reports it).
bool IsValidSNoRange(const QString& fromSNo, const QString& toSNo, bool* ok = nullptr);
