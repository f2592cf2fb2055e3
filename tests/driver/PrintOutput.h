#pragma once
#include "platform/report/Report.h"

#include <QString>
#include <QStringList>

// The output options every "print ..." command shares: --pdf FILE and
// --dump FILE (at least one). The preview never opens in the driver.
namespace PrintOutput {

struct Options {
    QString pdf, dump;
};

// Takes the two options (and their values) out of args. False with a usage
// error when a value is missing or neither option is given.
bool take(QStringList& args, Options& out, QString* error);

// The files as asked, written while the reports are laid out: every page
// laid out while a Stream lives goes to them and is not kept. Dropped
// unfinished (a command that shows a box instead), it leaves no file.
class Stream {
public:
    explicit Stream(const Options& o);

    // Puts the files in place (with the document's own pages, if it kept
    // any) and prints {"result":"printed","pages":N,"pdf":...,"dump":...};
    // 0 on success, 1 when a file cannot be written.
    int finish(const ReportDocument& doc);

private:
    Options options_;
    ReportWriter writer_;
    ReportStream stream_;
};

} // namespace PrintOutput
