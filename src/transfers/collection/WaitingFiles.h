#pragma once
#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

// Request files still waiting for their result ("수신대기"): listing them for
// a round and bank family, and deleting them with their book rows.
namespace WaitingFiles {

// FileName of the round's request-file book rows ("S") of the bank family.
QStringList list(const QString& yearMon, const QString& seqNo, const QString& bankCd);

struct Outcome {
    bool ok = true;
    QString error;
    QStringList unremovable; // files that were not in send or could not go
};
// For each name: the file in send goes, then its request-file book rows
// ("S" only: a received file's row stays) with one job-log line, together.
// unremovable is told of each file that could not be deleted before its book
// rows go all the same.
Outcome remove(const QStringList& names, const QString& yearMon, const QString& seqNo,
               const std::function<void(const QString&)>& unremovable = {});

// "파일삭제": the question, then remove with the plain message for each file
// that could not be deleted. False when not confirmed or a book row could not
// be deleted (the error shown).
bool confirmAndRemove(const QStringList& names, const QString& yearMon, const QString& seqNo,
                      QWidget* parent = nullptr);

} // namespace WaitingFiles
