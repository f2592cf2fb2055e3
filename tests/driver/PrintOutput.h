#pragma once
#include <QString>
#include <QStringList>

class ReportDocument;

// The output options every "print ..." command shares: --pdf FILE and
// --dump FILE (at least one). The preview never opens in the driver.
namespace PrintOutput {

struct Options {
    QString pdf, dump;
};

// Takes the two options (and their values) out of args. False with a usage
// error when a value is missing or neither option is given.
bool take(QStringList& args, Options& out, QString* error);

// Writes the document as asked and prints {"result":"printed","pages":N,
// "pdf":...,"dump":...}; 0 on success, 1 when a file cannot be written.
int write(const ReportDocument& doc, const Options& o);

} // namespace PrintOutput
