#include "platform/report/Report.h"

#include "platform/db/Database.h"
#include "platform/sys/Clock.h"

#include <QFontMetricsF>
#include <QHash>

#include <utility>

// ---- bands

ReportElement& ReportBand::add(ReportElement e) {
    elements_.push_back(std::make_unique<ReportElement>(std::move(e)));
    return *elements_.back();
}

ReportElement& ReportBand::addLabel(const QString& name, const QRectF& box, const QString& text,
                                    const ReportFont& font, ReportAlign align) {
    ReportElement e;
    e.kind = ReportElement::Label;
    e.name = name;
    e.box = box;
    e.text = text;
    e.declared = text;
    e.font = font;
    e.align = align;
    return add(std::move(e));
}

ReportElement& ReportBand::addField(const QString& name, const QRectF& box, const QString& field,
                                    const ReportFont& font, ReportAlign align) {
    ReportElement& e = addLabel(name, box, {}, font, align);
    e.kind = ReportElement::Field;
    e.field = field;
    return e;
}

ReportElement& ReportBand::addSysData(const QString& name, const QRectF& box, ReportSysData sys,
                                      const ReportFont& font, ReportAlign align) {
    ReportElement& e = addLabel(name, box, {}, font, align);
    e.kind = ReportElement::SysData;
    e.sys = sys;
    return e;
}

ReportElement& ReportBand::addLine(const QRectF& box, double pen) {
    ReportElement e;
    e.kind = ReportElement::Line;
    e.box = box;
    e.pen = pen;
    return add(std::move(e));
}

ReportElement& ReportBand::addFrame(const QRectF& box, double pen) {
    ReportElement& e = addLine(box, pen);
    e.kind = ReportElement::Frame;
    return e;
}

ReportElement& ReportBand::addImage(const QString& name, const QRectF& box, const QImage& image) {
    ReportElement e;
    e.kind = ReportElement::Image;
    e.name = name;
    e.box = box;
    e.image = image;
    return add(std::move(e));
}

ReportElement* ReportBand::find(const QString& name) {
    for (auto& e : elements_)
        if (e->name == name) return e.get();
    return nullptr;
}

bool ReportBand::setText(const QString& name, const QString& text) {
    ReportElement* e = find(name);
    if (!e) return false;
    e->text = text;
    return true;
}

void ReportBand::clearTexts(const QString& prefix) {
    for (auto& e : elements_)
        if (e->kind == ReportElement::Label && e->name.startsWith(prefix)) e->text.clear();
}

ReportRows ReportRows::fromQuery(Query& q, const QStringList& columns) {
    ReportRows r;
    r.columns = columns;
    while (q.next()) {
        QStringList row;
        row.reserve(columns.size());
        for (const QString& c : columns)
            row << q.str(c);
        r.rows << row;
    }
    return r;
}

// ---- text measurement

namespace {

// Measures on a 1200 dpi image so that widths in millimetres hardly depend on
// hinting; the PDF and the printer use unhinted outlines at their resolution.
constexpr double kMeasureDpi = 1200.0;

class Measure {
public:
    static Measure& instance() {
        static Measure m;
        return m;
    }
    const QFontMetricsF& metrics(const ReportFont& f) {
        const QString key = f.family + QLatin1Char('/') + QString::number(f.size) + (f.bold ? u'b' : u'-') +
                            (f.underline ? u'u' : u'-');
        auto it = cache_.find(key);
        if (it == cache_.end()) it = cache_.insert(key, std::make_shared<QFontMetricsF>(f.qfont(), &device_));
        return **it;
    }
    double width(const ReportFont& f, const QString& text) {
        return metrics(f).horizontalAdvance(text) * 25.4 / kMeasureDpi;
    }
    double lineHeight(const ReportFont& f) { return metrics(f).height() * 25.4 / kMeasureDpi; }

private:
    Measure() : device_(1, 1, QImage::Format_Mono) {
        const int dpm = int(kMeasureDpi / 0.0254 + 0.5);
        device_.setDotsPerMeterX(dpm);
        device_.setDotsPerMeterY(dpm);
    }
    QImage device_;
    QHash<QString, std::shared_ptr<QFontMetricsF>> cache_;
};

// The longest start of text, in whole characters, that fits width.
QString fitted(const ReportFont& f, const QString& text, double width) {
    Measure& m = Measure::instance();
    if (m.width(f, text) <= width + 1e-6) return text;
    int lo = 0, hi = int(text.size());
    while (lo < hi) {
        const int mid = (lo + hi + 1) / 2;
        int cut = mid;
        if (cut < text.size() && text.at(cut).isLowSurrogate()) --cut;
        if (m.width(f, text.left(cut)) <= width + 1e-6)
            lo = mid;
        else
            hi = mid - 1;
    }
    if (lo < text.size() && text.at(lo).isLowSurrogate()) --lo;
    return text.left(lo);
}

// Lines of text broken at blanks where possible, else between characters.
QStringList wrapped(const ReportFont& f, const QString& text, double width) {
    QStringList out;
    for (QString para : text.split(QLatin1Char('\n'))) {
        if (para.isEmpty()) out << QString();
        while (!para.isEmpty()) {
            QString line = fitted(f, para, width);
            if (line.isEmpty()) line = para.left(1); // a box narrower than one character
            if (line.size() < para.size()) {
                const int blank = int(line.lastIndexOf(QLatin1Char(' ')));
                if (blank > 0) line = line.left(blank);
            }
            out << line;
            para = para.mid(line.size());
            if (para.startsWith(QLatin1Char(' '))) para = para.mid(1);
        }
    }
    return out;
}

} // namespace

// ---- the report

Report::Report() = default;
Report::~Report() = default;

ReportBand* Report::addBand(ReportBand::Kind kind, double height) {
    bands_.push_back(std::make_unique<ReportBand>(kind, height));
    return bands_.back().get();
}

ReportBand* Report::addChild(ReportBand* parent, double height) {
    ReportBand* c = addBand(ReportBand::Child, height);
    ReportBand** slot = &parent->child;
    while (*slot)
        slot = &(*slot)->child;
    *slot = c;
    return c;
}

Report::Group& Report::addGroup(std::function<QString()> key, double headerHeight, double footerHeight,
                                bool newPage) {
    auto g = std::make_unique<Group>();
    g->key = std::move(key);
    if (headerHeight > 0) g->header = addBand(ReportBand::GroupHeader, headerHeight);
    if (footerHeight > 0) g->footer = addBand(ReportBand::GroupFooter, footerHeight);
    g->newPage = newPage;
    groups_.push_back(std::move(g));
    return *groups_.back();
}

void Report::setRows(ReportRows rows) {
    rows_ = std::move(rows);
    needData_ = nullptr;
}

void Report::setNeedData(std::function<bool()> needData) {
    needData_ = std::move(needData);
    rows_ = {};
}

QString Report::value(const QString& column) const {
    if (row_ < 0 || row_ >= rows_.rows.size()) return {};
    const int c = rows_.column(column);
    const QStringList& r = rows_.rows.at(row_);
    return c >= 0 && c < r.size() ? r.at(c) : QString();
}

struct Report::Run {
    Report& r;
    ReportPageSink& out;
    ReportPage page;   // the page being laid out
    bool open = false; // page is started and not sent yet
    int pages = 0;     // pages started
    ReportBand* pageHeader = nullptr;
    ReportBand* columnHeader = nullptr;
    ReportBand* detail = nullptr;
    ReportBand* summary = nullptr;
    ReportBand* pageFooter = nullptr;
    double y = 0;       // next band's top, mm on the paper
    bool body = false;  // the current page holds a detail, group or summary band
    QString date, time; // one moment for the whole run

    Run(Report& rep, ReportPageSink& sink) : r(rep), out(sink) {
        for (auto& b : r.bands_) {
            ReportBand** slot = nullptr;
            switch (b->kind) {
            case ReportBand::PageHeader:
                slot = &pageHeader;
                break;
            case ReportBand::ColumnHeader:
                slot = &columnHeader;
                break;
            case ReportBand::Detail:
                slot = &detail;
                break;
            case ReportBand::Summary:
                slot = &summary;
                break;
            case ReportBand::PageFooter:
                slot = &pageFooter;
                break;
            default:
                break;
            }
            if (slot && !*slot) *slot = b.get();
        }
        const QDateTime now = Clock::now();
        date = now.date().toString(QStringLiteral("yyyy-MM-dd"));
        time = now.time().toString(QStringLiteral("hh:mm:ss"));
    }

    bool footerEveryPage() const { return pageFooter && pageFooter->enabled && !r.footerLastPageOnly; }
    double limit() const {
        double l = r.page.paperHeight() - r.page.bottom;
        if (footerEveryPage()) l -= pageFooter->height;
        return l;
    }

    void startPage() {
        sendPage();
        open = true;
        r.pageNo_ = ++pages;
        y = r.page.top;
        body = false;
        if (pageHeader && (!r.headerFirstPageOnly || r.pageNo_ == 1)) placeWithChildren(pageHeader, false);
        if (columnHeader) placeWithChildren(columnHeader, false);
    }

    // A finished page goes out; nothing of it stays.
    void sendPage() {
        if (!open) return;
        open = false;
        out.page(std::exchange(page, ReportPage{}));
    }

    void endPage() {
        if (footerEveryPage()) placeFooter();
    }

    void newPage() {
        endPage();
        startPage();
    }

    void placeFooter() {
        if (!prepare(pageFooter)) return;
        put(pageFooter, r.page.paperHeight() - r.page.bottom - pageFooter->height);
    }

    bool prepare(ReportBand* b) {
        if (!b || !b->enabled) return false;
        b->printThis = true;
        if (b->beforePrint) b->beforePrint(*b);
        return b->printThis;
    }

    // Places a band and its children at y; a body band that does not fit
    // goes to a new page (unless the page has no body yet: it would not fit
    // there either).
    void placeWithChildren(ReportBand* b, bool isBody) {
        for (; b; b = b->child) {
            if (!prepare(b)) continue;
            if (isBody && body && y + b->height > limit() + 1e-6) newPage();
            put(b, y);
            y += b->height;
            if (isBody) body = true;
        }
    }

    void put(ReportBand* b, double top) {
        const double left = r.page.left;
        for (const auto& ep : b->elements()) {
            const ReportElement& e = *ep;
            if (!e.enabled) continue;
            PageItem it;
            it.rect = e.box.translated(left, top);
            it.pen = e.pen;
            switch (e.kind) {
            case ReportElement::Line:
                it.kind = PageItem::Line;
                break;
            case ReportElement::Frame:
                it.kind = PageItem::Frame;
                break;
            case ReportElement::Image:
                it.kind = PageItem::Image;
                it.image = e.image;
                break;
            case ReportElement::Label:
            case ReportElement::Field:
            case ReportElement::SysData:
                it.kind = PageItem::Text;
                it.font = e.font;
                it.align = e.align;
                it.text = textOf(e);
                it.fixed = e.kind == ReportElement::Label && !e.declared.isEmpty() && it.text == e.declared;
                it.textWidth = Measure::instance().width(e.font, it.text);
                fit(e, it);
                break;
            }
            page.items << it;
        }
    }

    QString textOf(const ReportElement& e) const {
        switch (e.kind) {
        case ReportElement::Field:
            return r.value(e.field);
        case ReportElement::SysData:
            switch (e.sys) {
            case ReportSysData::PageNumber:
                return QString::number(r.pageNo_);
            case ReportSysData::Date:
                return date;
            case ReportSysData::Time:
                return time;
            }
            return {};
        default:
            return e.text;
        }
    }

    // Sizes an auto-size box to its text and cuts the text to its box.
    void fit(const ReportElement& e, PageItem& it) const {
        Measure& m = Measure::instance();
        if (e.autoSize && !e.wordWrap) {
            const double w = m.width(e.font, it.text);
            const double h = std::max(it.rect.height(), m.lineHeight(e.font));
            switch (e.align) {
            case ReportAlign::Left:
                it.rect = QRectF(it.rect.left(), it.rect.top(), w, h);
                break;
            case ReportAlign::Right:
                it.rect = QRectF(it.rect.right() - w, it.rect.top(), w, h);
                break;
            case ReportAlign::Center:
                it.rect = QRectF(it.rect.center().x() - w / 2, it.rect.top(), w, h);
                break;
            }
            return;
        }
        if (e.wordWrap) {
            QStringList lines = wrapped(e.font, it.text, it.rect.width());
            const int room = std::max(1, int((it.rect.height() + 1e-6) / m.lineHeight(e.font)));
            if (lines.size() > room) {
                lines = lines.mid(0, room);
                it.cut = true;
            }
            it.text = lines.join(QLatin1Char('\n'));
        } else {
            const QString whole = it.text;
            it.text = fitted(e.font, whole, it.rect.width());
            it.cut = it.text.size() < whole.size();
        }
    }

    // Group footers from the innermost up to level g, for the previous row.
    void closeGroups(int g) {
        for (int i = int(r.groups_.size()) - 1; i >= g; --i)
            if (r.groups_[i]->footer) placeWithChildren(r.groups_[i]->footer, true);
    }

    void openGroups(int g) {
        for (int i = g; i < int(r.groups_.size()); ++i) {
            const Group& grp = *r.groups_[i];
            if (grp.newPage && body) newPage();
            if (grp.header) placeWithChildren(grp.header, true);
        }
    }

    void run() {
        out.begin(r.title, r.page);
        r.row_ = -1;
        if (r.needData_)
            fillByCallback();
        else if (!r.rows_.rows.isEmpty() || r.printIfEmpty)
            fillFromRows();
        sendPage();
    }

    void fillByCallback() {
        // Asked once before the first band, so the page header may show
        // what the first answer filled.
        bool more = r.needData_();
        startPage();
        while (more) {
            placeWithChildren(detail, true);
            more = r.needData_();
        }
        finish();
    }

    void fillFromRows() {
        const int rows = int(r.rows_.rows.size());
        r.row_ = rows > 0 ? 0 : -1;
        startPage();
        QStringList keys(int(r.groups_.size()));
        for (int i = 0; i < rows; ++i) {
            r.row_ = i;
            int changed = -1;
            QStringList now;
            for (int g = 0; g < int(r.groups_.size()); ++g) {
                now << r.groups_[g]->key();
                if (changed < 0 && (i == 0 || now[g] != keys[g])) changed = g;
            }
            if (changed >= 0) {
                if (i > 0) {
                    r.row_ = i - 1;
                    closeGroups(changed);
                    r.row_ = i;
                }
                openGroups(changed);
            }
            keys = now;
            placeWithChildren(detail, true);
        }
        if (rows > 0) {
            r.row_ = rows - 1;
            closeGroups(0);
        }
        finish();
    }

    // The summary and the last page's footer.
    void finish() {
        placeWithChildren(summary, true);
        if (footerEveryPage()) {
            endPage();
        } else if (pageFooter && pageFooter->enabled) {
            if (y + pageFooter->height > r.page.paperHeight() - r.page.bottom + 1e-6) startPage();
            placeFooter();
        }
    }
};

namespace {

std::function<void(const ReportDocument&)>& layoutCheck() {
    static std::function<void(const ReportDocument&)> check;
    return check;
}

thread_local ReportPageSink* currentStream = nullptr;

// Keeps every page: the document of layout().
class KeepPages final : public ReportPageSink {
public:
    explicit KeepPages(ReportDocument& doc) : doc_(doc) {}
    void begin(const QString& title, const PageSetup& setup) override {
        doc_.title = title;
        doc_.setup = setup;
    }
    void page(const ReportPage& page) override { doc_.pages << page; }

private:
    ReportDocument& doc_;
};

// Shows each page to the layout check, numbered within its report, and
// passes it on.
class CheckPages final : public ReportPageSink {
public:
    CheckPages(ReportPageSink& out, const std::function<void(const ReportDocument&)>& check)
        : out_(out), check_(check) {}
    void begin(const QString& title, const PageSetup& setup) override {
        one_.title = title;
        one_.setup = setup;
        out_.begin(title, setup);
    }
    void page(const ReportPage& page) override {
        one_.pages = {page};
        check_(one_);
        one_.pages.clear();
        ++one_.firstPage;
        out_.page(page);
    }

private:
    ReportPageSink& out_;
    const std::function<void(const ReportDocument&)>& check_;
    ReportDocument one_;
};

} // namespace

std::function<void(const ReportDocument&)>
Report::setLayoutCheck(std::function<void(const ReportDocument&)> check) {
    return std::exchange(layoutCheck(), std::move(check));
}

void Report::run(ReportPageSink& sink) {
    Run run(*this, sink);
    run.run();
    row_ = -1;
}

ReportDocument Report::layout() {
    ReportDocument doc;
    if (currentStream) {
        layout(*currentStream);
        doc.title = title;
        doc.setup = page;
        return doc;
    }
    KeepPages keep(doc);
    run(keep);
    if (layoutCheck()) layoutCheck()(doc);
    return doc;
}

void Report::layout(ReportPageSink& sink) {
    if (!layoutCheck()) return run(sink);
    CheckPages checked(sink, layoutCheck());
    run(checked);
}

int Report::preview(QWidget* parent) {
    return layout().preview(parent);
}

bool Report::writePdf(const QString& file, QString* error) {
    ReportWriter w(file, {});
    layout(w);
    return w.finish(error);
}

ReportStream::ReportStream(ReportPageSink& sink) : previous_(std::exchange(currentStream, &sink)) {}

ReportStream::~ReportStream() {
    currentStream = previous_;
}
