#include "transfers/collection/RowFind.h"

#include "transfers/common/CollectionListing.h"

namespace RowFind {

namespace {

bool matches(const QStringList& r, const Query& q, const QString& itemName) {
    if (!itemName.isEmpty() && r.value(ColItem).trimmed() != itemName) return false;
    switch (q.mode) {
    case Mode::Account:
        return r.value(ColAcct).trimmed() == q.text.trimmed();
    case Mode::SNo:
        return r.value(ColSNo).trimmed() == q.text;
    case Mode::Name:
        return r.value(ColNm).trimmed() == q.text.trimmed();
    }
    return false;
}

} // namespace

int find(const QList<QStringList>& rows, const Query& q, State* s) {
    const QString line = q.itemLine.trimmed();
    const QString itemName = line.isEmpty() ? QString() : line.mid(3, 20).trimmed();
    const int n = int(rows.size());
    int start = s->goOn ? s->lastFound + 1 : 1;
    for (int pass = 0; pass < 2; ++pass) {
        for (int r = start; r <= n; ++r) {
            if (!matches(rows[r - 1], q, itemName)) continue;
            if (q.mode != Mode::SNo) s->goOn = true;
            s->lastFound = r == n ? 0 : r;
            return r;
        }
        s->lastFound = 0;
        if (start <= 1) break;
        start = 1;
    }
    return 0;
}

} // namespace RowFind
