#include "van/VanTransfer.h"

#include "data/DMModule.h"
#include "platform/sys/Clock.h"
#include "platform/text/Cp949.h"
#include "platform/ui/Msg.h"
#include "van/VanSettings.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

const QString kMark = QStringLiteral(u"◎");

bool readCount(const QByteArray& text, qint64* out) {
    const QByteArray t = text.trimmed();
    if (t.isEmpty() || t.size() > 18) return false;
    for (char c : t)
        if (c < '0' || c > '9') return false;
    *out = t.toLongLong();
    return true;
}

QString dataDir(const char* name) {
    return DMLib->dir(QString::fromLatin1(name));
}

} // namespace

// ---- grids

bool VanGrid::marked(int row, int col) const {
    return cell(row, col) == kMark;
}

void VanGrid::toggleMark(int row, int col) {
    if (row < 0 || row >= rowCount()) return;
    setCell(row, col, cell(row, col).isEmpty() ? kMark : QString());
}

void VanGrid::appendRow(const QStringList& cells) {
    if (rowCount() > 0 && !cell(0, 0).isEmpty())
        setRowCount(rowCount() + 1);
    else
        setRowCount(1);
    const int row = rowCount() - 1;
    for (int c = 0; c < cells.size() && c < columnCount(); ++c)
        setCell(row, c, cells[c]);
}

void VanRowTable::reset(int columns) {
    columns_ = columns;
    rows_ = {QStringList(columns)};
    current_ = -1;
}

QString VanRowTable::cell(int row, int col) const {
    return rows_.value(row).value(col);
}

void VanRowTable::setCell(int row, int col, const QString& text) {
    if (row < 0 || row >= rows_.size() || col < 0 || col >= columns_) return;
    rows_[row][col] = text;
}

void VanRowTable::setRowCount(int rows) {
    while (rows_.size() > rows)
        rows_.removeLast();
    while (rows_.size() < rows)
        rows_ << QStringList(columns_);
}

QStringList VanFileListCells(const QByteArray& e) {
    auto f = [&e](int off, int len) { return Cp949::decode(e.mid(off, len)); };
    qint64 lines = 0;
    const QString count = readCount(e.mid(28, 6), &lines) ? QString::number(lines - 2) : f(28, 6);
    return {f(0, 1), f(1, 4), f(5, 3), f(8, 8), f(16, 6), f(22, 6), count, f(34, 3), f(37, 4), QString()};
}

QStringList VanNoticeCells(const QByteArray& e) {
    auto f = [&e](int off, int len) { return Cp949::decode(e.mid(off, len)).trimmed(); };
    return {f(0, 8), f(8, 6), f(14, 80), f(94, 20), QString()};
}

void VanAppendListRows(VanGrid& grid, const QByteArray& jobCode, const QList<QByteArray>& entries) {
    const bool notices = jobCode == VanJob::NoticeListData;
    for (const QByteArray& e : entries)
        grid.appendRow(notices ? VanNoticeCells(e) : VanFileListCells(e));
}

// ---- exchanges

TVanTransfer::TVanTransfer(TVanSession& session, VanGrid& grid, VanTransferHost& host,
                           SendFolderState& sendState)
    : session_(session), grid_(grid), host_(host), sendState_(sendState) {}

TVanTransfer::~TVanTransfer() {
    dropDownload();
}

QString TVanTransfer::busyFile() const {
    return step_ == Step::UpStart || step_ == Step::UpBlocks || step_ == Step::UpEnd ? upName_ : QString();
}

void TVanTransfer::stopRun() {
    running_ = false;
    step_ = Step::Idle;
    upLines_.clear();
    upBlockData_.clear();
}

void TVanTransfer::abort() {
    dropDownload();
    stopRun();
}

void TVanTransfer::dropDownload() {
    if (down_) {
        down_->close();
        down_->remove();
        down_.reset();
    }
    downTarget_.clear();
}

bool TVanTransfer::BBtnFileSndClick() {
    bool any = false;
    for (int r = 0; r < grid_.rowCount(); ++r)
        any = any || grid_.marked(r, 8);
    if (!any || grid_.columnCount() != 9) {
        Msg::show(QStringLiteral(u"송신실패"), QStringLiteral(u"먼저 송신 파일을 선택하세요!!"));
        return false;
    }
    SendRow = 0;
    running_ = true;
    host_.xferSchedule(true);
    return true;
}

void TVanTransfer::TmrSndTimer() {
    if (step_ != Step::Idle) return;
    int row = SendRow;
    while (row < grid_.rowCount() && !grid_.marked(row, 8))
        ++row;
    if (row >= grid_.rowCount()) {
        Msg::info(QStringLiteral(u"완료"), QStringLiteral(u"파일송신이 완료되었습니다!!"));
        FSendDone = true;
        stopRun();
        return;
    }
    const QString bank = cell(row, 1), type = cell(row, 2), date = cell(row, 5);
    const QString today = Clock::todayText();
    const int hhmm = Clock::now().toString(QStringLiteral("HHmm")).toInt();
    auto refuse = [this](const QString& text) {
        Msg::error(QStringLiteral(u"전송실패"), text);
        stopRun();
    };
    if (type == QLatin1String("200") && date == today && hhmm > 1600) {
        if (bank == QLatin1String("0011"))
            return refuse(QStringLiteral(u"농협중앙 당일이체 데이터는 16시00분 이후에 전송할 수 없습니다."));
        if (bank == QLatin1String("0012"))
            return refuse(QStringLiteral(u"단위농협 당일이체 데이터는 16시00분 이후에 전송할 수 없습니다."));
    }
    if (type == QLatin1String("R00")) {
        // A date that does not read cannot be shown to be today's.
        qint64 d = 0;
        if (!readCount(date.toLatin1(), &d) || d < today.toLongLong())
            return refuse(QStringLiteral(u"계좌등록 데이터의 신청일자가 당일 이전입니다."));
    }
    grid_.setCurrentRow(row);
    SendRow = row;
    upName_ = cell(row, 4).trimmed();
    host_.xferLabel(upName_ + QStringLiteral(u" 파일송신중입니다. 잠시만 기다려 주십시요!"));
    host_.xferShowPanel(cell(row, 3).toInt());
    step_ = Step::UpStart;
    if (!session_.SendVanMsg(session_.builder.TransferStartUpload(bank, type.left(1).toLatin1()))) stopRun();
}

VanSessionHost::Exchange TVanTransfer::uploadStart(const TVanMsg& msg) {
    QFile f(dataDir("send") + upName_);
    if (!f.open(QIODevice::ReadOnly)) {
        Msg::error(QStringLiteral(u"오류"), upName_ + QStringLiteral(u" 파일을 읽을 수 없습니다."));
        stopRun();
        return VanSessionHost::Exchange::Failed;
    }
    upLines_ = SendFolder::SplitLines(f.readAll());
    upRecLen_ = upLines_.isEmpty() ? 0 : int(upLines_.first().size());
    if (upRecLen_ <= 0 || upRecLen_ > TVanMsg::DataSize) {
        Msg::error(QStringLiteral(u"오류"),
                   upName_ + QStringLiteral(u" 파일의 레코드 길이가 올바르지 않습니다."));
        stopRun();
        return VanSessionHost::Exchange::Failed;
    }
    upBlockNo_ = 0;
    upBlockData_ = {upLines_.first()};
    upLinesRead_ = 1;
    step_ = Step::UpBlocks;
    return uploadBlock(true, msg.SenderCode, msg.BizKind);
}

VanSessionHost::Exchange TVanTransfer::uploadBlock(bool first, const QByteArray& receiver,
                                                   const QByteArray& bizKind) {
    const int total = int(upLines_.size());
    if (upLinesRead_ >= total) {
        step_ = Step::UpEnd;
        return session_.SendVanMsg(session_.builder.TransferEnd(total)) ? VanSessionHost::Exchange::Handled
                                                                        : VanSessionHost::Exchange::Failed;
    }
    const int capacity = TVanMsg::DataSize / upRecLen_;
    const int left = total - upLinesRead_;
    const int records = left < capacity ? (first ? total : left) : capacity;
    if (!first) upBlockData_.clear();
    const int toRead = first ? records - 1 : records;
    for (int i = 0; i < toRead && upLinesRead_ < total; ++i) {
        upBlockData_ << upLines_.at(upLinesRead_++);
        host_.xferProgress(upLinesRead_);
    }
    ++upBlockNo_;
    const TVanMsg m =
        session_.builder.TransferBlockUpload(receiver, bizKind, upBlockNo_, upRecLen_, upBlockData_);
    return session_.SendVanMsg(m) ? VanSessionHost::Exchange::Handled : VanSessionHost::Exchange::Failed;
}

VanSessionHost::Exchange TVanTransfer::uploadDone() {
    const QString name = upName_;
    const QString today = Clock::todayText();
    host_.xferStatus(name + QStringLiteral(u" 송신완료!!"), VanColor::Blue);
    host_.xferHidePanel();
    if (!SendFolder::MoveReplacing(dataDir("send") + name, dataDir("sback") + name))
        Msg::error(QStringLiteral(u"화일처리 오류"),
                   QStringLiteral(u"송신 후 sback으로 Move되지  않았습니다!"));
    SendFolder::StampSendDate(QStringLiteral("S"), name, today);
    if (sendState_.PendingMerges.contains(name)) SendFolder::ArchiveMergeSources(sendState_, name, today);
    host_.xferSent(name);
    // The file has left send: every row naming it loses its mark. The list
    // may have been listed again meanwhile, so the row number alone could
    // tick a file nobody chose, or leave this one ticked for a second send.
    if (grid_.columnCount() == 9)
        for (int r = 0; r < grid_.rowCount(); ++r)
            if (grid_.marked(r, 8) && cell(r, 4).trimmed() == name) grid_.toggleMark(r, 8);
    ++SendRow;
    step_ = Step::Idle;
    upLines_.clear();
    upBlockData_.clear();
    host_.xferSchedule(true);
    return VanSessionHost::Exchange::Handled;
}

bool TVanTransfer::BBtnFileRecvClick() {
    bool any = false;
    for (int r = 0; r < grid_.rowCount(); ++r)
        any = any || (grid_.columnCount() == 10 && grid_.marked(r, 9));
    if (!any) {
        Msg::show(QStringLiteral(u"수신실패"), QStringLiteral(u"먼저 수신 파일을 선택하세요!!"));
        return false;
    }
    RecvRow = 0;
    running_ = true;
    host_.xferLabel(QStringLiteral(u"파일수신중입니다. 잠시만 기다려 주십시요!!!"));
    host_.xferSchedule(false);
    return true;
}

bool TVanTransfer::BBtnGongjiFileClick() {
    bool any = false;
    for (int r = 0; r < grid_.rowCount(); ++r)
        any = any || (grid_.columnCount() == 5 && grid_.marked(r, 4));
    if (!any) {
        Msg::show(QStringLiteral(u"수신실패"), QStringLiteral(u"먼저 공지 파일을 선택하세요!!"));
        return false;
    }
    RecvRow = 0;
    running_ = true;
    host_.xferLabel(QStringLiteral(u"공지파일수신중입니다. 잠시만 기다려 주십시요!!!"));
    host_.xferSchedule(false);
    return true;
}

void TVanTransfer::TmrRecvTimer() {
    if (step_ != Step::Idle) return;
    const int layout = grid_.columnCount();
    const int col = layout == 10 ? 9 : layout == 5 ? 4 : -1;
    int row = RecvRow;
    while (col >= 0 && row < grid_.rowCount() && !grid_.marked(row, col))
        ++row;
    if (col < 0 || row >= grid_.rowCount()) {
        Msg::info(QStringLiteral(u"완료"), QStringLiteral(u"파일수신이 완료되었습니다!!"));
        stopRun();
        return;
    }
    grid_.setCurrentRow(row);
    RecvRow = row;
    bool sent = false;
    if (layout == 10) {
        host_.xferShowPanel(cell(row, 6).toInt());
        host_.xferProgress(0);
        step_ = Step::DownFirst;
        downRow_ = listRow(row);
        sent = session_.SendVanMsg(session_.builder.TransferStartDownload(
            cell(row, 1).toLatin1(), cell(row, 2).left(1).toLatin1(), cell(row, 7).trimmed().toLatin1(),
            cell(row, 3).left(8).toLatin1()));
    } else {
        step_ = Step::NoticeFirst;
        sent = session_.SendVanMsg(session_.builder.NoticeFileRequest(cell(row, 3).trimmed()));
    }
    if (!sent) stopRun();
}

QString TVanTransfer::freeResultName(const QString& sender, const QString& receiver,
                                     const QString& type) const {
    const QString recv = dataDir("recv");
    // The counter only has two digits in the name: past the free ones there
    // is nothing left to take.
    for (int i = 0; i < 200; ++i) {
        const int n = VanSettings::takeRecvCounter(type, Clock::todayText());
        const QString name =
            sender + receiver + QLatin1Char('.') + type.left(1) + VanSettings::recvCounterDigits(n);
        if (!QFile::exists(recv + name)) return name;
    }
    return {};
}

bool TVanTransfer::writeRecords(const TVanMsg& msg, bool progress) {
    const auto records = VanReadEntries(msg, true);
    if (!records) return false;
    int k = 0;
    for (const QByteArray& r : *records) {
        if (down_->write(r + "\r\n") != r.size() + 2) return false;
        if (progress) host_.xferProgress(RecvCount + ++k);
    }
    RecvCount += int(records->size());
    return true;
}

QStringList TVanTransfer::listRow(int row) const {
    return {cell(row, 1), cell(row, 2), cell(row, 3), cell(row, 7)};
}

VanSessionHost::Exchange TVanTransfer::downloadFirst(const TVanMsg& msg) {
    RecvCount = 0;
    host_.xferShowPanel(cell(RecvRow, 6).toInt());
    const QString type = cell(RecvRow, 2).trimmed();
    const QString sender = QString::fromLatin1(msg.SenderCode),
                  receiver = QString::fromLatin1(msg.ReceiverCode);
    // Codes the operator sends become a file name only when they are plain:
    // ASCII letters and digits (a byte above 127 read as Latin-1 would pass
    // for a letter).
    auto plain = [](const QString& code) {
        if (code.isEmpty()) return false;
        for (const QChar c : code)
            if (c.unicode() > 127 || !c.isLetterOrNumber()) return false;
        return true;
    };
    if (!plain(type) || !plain(sender) || !plain(receiver) || sender.size() != 4 || receiver.size() != 4) {
        Msg::error(QStringLiteral(u"오류"), QStringLiteral(u"수신 파일 이름이 올바르지 않습니다: ") + sender +
                                                receiver + QLatin1Char('.') + type);
        abort();
        return VanSessionHost::Exchange::Failed;
    }
    const QString name = freeResultName(sender, receiver, type);
    if (name.isEmpty()) {
        Msg::error(QStringLiteral(u"오류"),
                   QStringLiteral(u"수신 파일 이름을 정할 수 없습니다: ") + sender + receiver);
        abort();
        return VanSessionHost::Exchange::Failed;
    }
    downTarget_ = dataDir("recv") + name;
    FRecvFileName = downTarget_;
    // The download is written under Temp and reaches recv only whole.
    down_ = std::make_unique<QFile>(dataDir("Temp") + name + QStringLiteral(".part"));
    if (!down_->open(QIODevice::WriteOnly | QIODevice::Truncate) || !writeRecords(msg, false)) {
        Msg::error(QStringLiteral(u"오류"), name + QStringLiteral(u" 파일을 쓸 수 없습니다."));
        abort();
        return VanSessionHost::Exchange::Failed;
    }
    step_ = Step::DownBlocks;
    return session_.SendVanMsg(session_.builder.TransferBlockAck(msg.BizKind, msg.SenderCode, "00"))
               ? VanSessionHost::Exchange::Handled
               : VanSessionHost::Exchange::Failed;
}

VanSessionHost::Exchange TVanTransfer::downloadBlock(const TVanMsg& msg) {
    if (!writeRecords(msg, true)) {
        Msg::error(QStringLiteral(u"오류"),
                   QFileInfo(downTarget_).fileName() + QStringLiteral(u" 파일을 쓸 수 없습니다."));
        abort();
        return VanSessionHost::Exchange::Failed;
    }
    return session_.SendVanMsg(session_.builder.TransferBlockAck(msg.BizKind, msg.SenderCode, "00"))
               ? VanSessionHost::Exchange::Handled
               : VanSessionHost::Exchange::Failed;
}

VanSessionHost::Exchange TVanTransfer::downloadEnd(const TVanMsg& msg) {
    const bool flushed = down_->flush();
    down_->close();
    qint64 total = 0;
    if (!readCount(msg.MsgData, &total)) {
        abort();
        return VanSessionHost::Exchange::Failed;
    }
    host_.xferHidePanel();
    if (total != RecvCount || !flushed) {
        dropDownload();
        stopRun();
        session_.SendVanMsg(session_.builder.TransferEndReply(RecvCount, "13"));
        Msg::error(QStringLiteral(u"오류"), QStringLiteral(u"파일수신을 실패하였습니다. 총 건수 오류"));
        return VanSessionHost::Exchange::Handled;
    }
    // Never over an existing result file: the next free counter instead.
    QString target = downTarget_;
    if (QFile::exists(target)) {
        const QString name = QFileInfo(target).fileName();
        const QString again = freeResultName(name.left(4), name.mid(4, 4), downRow_.value(1).trimmed());
        target = again.isEmpty() ? QString() : dataDir("recv") + again;
    }
    const QString part = down_->fileName();
    if (target.isEmpty() ||
        std::rename(QFile::encodeName(part).constData(), QFile::encodeName(target).constData()) != 0) {
        dropDownload();
        stopRun();
        session_.SendVanMsg(session_.builder.TransferEndReply(RecvCount, "13"));
        Msg::error(QStringLiteral(u"오류"), QStringLiteral(u"파일수신을 실패하였습니다."));
        return VanSessionHost::Exchange::Handled;
    }
    down_.reset();
    FRecvFileName = target;
    const int count = RecvCount;
    step_ = Step::Idle;
    if (!session_.SendVanMsg(session_.builder.TransferEndReply(RecvCount, "00"))) {
        stopRun();
        return VanSessionHost::Exchange::Failed;
    }
    host_.xferReceived(target, count);
    // Only the row that was fetched loses its mark; a row of a newer list
    // at that number is left as the user set it.
    if (grid_.columnCount() == 10 && listRow(RecvRow) == downRow_ && grid_.marked(RecvRow, 9))
        grid_.toggleMark(RecvRow, 9);
    ++RecvRow;
    host_.xferSchedule(false);
    return VanSessionHost::Exchange::Handled;
}

VanSessionHost::Exchange TVanTransfer::noticeBlock(const TVanMsg& msg, bool first) {
    if (first) {
        const QString name = cell(RecvRow, 3).trimmed();
        if (!SendFolder::IsPlainName(name, true)) {
            Msg::error(QStringLiteral(u"오류"),
                       QStringLiteral(u"수신 파일 이름이 올바르지 않습니다: ") + name);
            abort();
            return VanSessionHost::Exchange::Failed;
        }
        RecvCount = 1;
        downTarget_ = dataDir("gong") + name;
        down_ = std::make_unique<QFile>(dataDir("Temp") + name + QStringLiteral(".part"));
        if (!down_->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            Msg::error(QStringLiteral(u"오류"), name + QStringLiteral(u" 파일을 쓸 수 없습니다."));
            abort();
            return VanSessionHost::Exchange::Failed;
        }
        step_ = Step::NoticeBlocks;
    } else {
        ++RecvCount;
    }
    const int zero = int(msg.MsgData.indexOf('\0'));
    const QByteArray text = (zero < 0 ? msg.MsgData : msg.MsgData.left(zero)).left(TVanMsg::DataSize);
    if (down_->write(text) != text.size()) {
        abort();
        return VanSessionHost::Exchange::Failed;
    }
    return session_.SendVanMsg(session_.builder.NoticeBlockAck("00")) ? VanSessionHost::Exchange::Handled
                                                                      : VanSessionHost::Exchange::Failed;
}

VanSessionHost::Exchange TVanTransfer::noticeEnd() {
    const bool flushed = down_->flush();
    down_->close();
    const QString part = down_->fileName(), target = downTarget_;
    if (!flushed || !SendFolder::MoveReplacing(part, target)) {
        Msg::error(QStringLiteral(u"오류"),
                   QFileInfo(target).fileName() + QStringLiteral(u" 파일을 쓸 수 없습니다."));
        abort();
        return VanSessionHost::Exchange::Failed;
    }
    down_.reset();
    host_.xferHidePanel();
    const int count = RecvCount;
    stopRun();
    session_.SendVanMsg(session_.builder.TransferEndReply(count, "00"));
    grid_.toggleMark(RecvRow, 4);
    host_.xferReceived(target, count);
    host_.xferShowNotice(target);
    return VanSessionHost::Exchange::Handled;
}

bool TVanTransfer::ChangePassword(const QString& current, const QString& next, const QString& confirm) {
    if (next != confirm) {
        Msg::error(QStringLiteral(u"입력오류"),
                   QStringLiteral(u"새로운 패스워드가 틀립니다.\r\n다시 입력하세요!!!"));
        return false;
    }
    return session_.SendVanMsg(session_.builder.PasswordChangeRequest(current.trimmed(), confirm.trimmed()));
}

VanSessionHost::Exchange TVanTransfer::handle(const TVanMsg& msg) {
    using E = VanSessionHost::Exchange;
    const QByteArray& job = msg.JobCode;
    const bool up = msg.DirFlag == "S", down = msg.DirFlag == "R";
    if (job == VanJob::PasswordChangeReply) {
        Msg::info(QStringLiteral(u"암호변경"), QStringLiteral(u"암호가 변경되었습니다.!!"));
        host_.xferStatus(QStringLiteral(u"암호가 변경되었습니다!!"), VanColor::Blue);
        return E::Handled;
    }
    // A message that does not fit the step being waited for answers
    // nothing the client asked.
    if (job == VanJob::TransferStartReply && up && step_ == Step::UpStart) return uploadStart(msg);
    if (job == VanJob::TransferBlockReply && up && step_ == Step::UpBlocks)
        return uploadBlock(false, msg.SenderCode, msg.BizKind);
    if (job == VanJob::TransferEndReply && step_ == Step::UpEnd) return uploadDone();
    if (job == VanJob::TransferStartReply && down && step_ == Step::DownFirst) return downloadFirst(msg);
    if (job == VanJob::TransferBlockReply && down && step_ == Step::DownBlocks) return downloadBlock(msg);
    if (job == VanJob::TransferEnd && msg.DirFlag != "G" && step_ == Step::DownBlocks)
        return downloadEnd(msg);
    if (job == VanJob::NoticeFileFirstBlock && step_ == Step::NoticeFirst) return noticeBlock(msg, true);
    if (job == VanJob::NoticeFileNextBlock && step_ == Step::NoticeBlocks) return noticeBlock(msg, false);
    if (job == VanJob::TransferEnd && msg.DirFlag == "G" && step_ == Step::NoticeBlocks) return noticeEnd();
    abort();
    return E::Unknown;
}
