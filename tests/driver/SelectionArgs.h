#pragma once
#include "transfers/common/CollectionListing.h"

#include <QStringList>

namespace Driver {

// The collection window's selections from round-show's options, and the
// quarter box's entry (--quarter 0-4: blank, "1 / 4 분기" .. "4 / 4 분기");
// false when --yearmon or --seqno is missing or --quarter is no entry.
bool collectionSelection(const QStringList& args, CollectionSelection& s, int* quarter = nullptr);

// The options collectionSelection reads, for usage texts.
extern const char* const kCollectionSelection;

// The window's listing under those options; false (with the box shown, or
// the usage failed, rc set) when "자료조회" would refuse.
bool collectionListing(const QStringList& args, CollectionSelection& s, CollectionListing& l, int* rc);

} // namespace Driver
