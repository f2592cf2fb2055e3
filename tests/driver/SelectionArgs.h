#pragma once
#include "transfers/collection/CollectionListing.h"

#include <QStringList>

namespace Driver {

// The collection window's selections from round-show's options; false when
// --yearmon or --seqno is missing.
bool collectionSelection(const QStringList& args, CollectionSelection& s);

// The options collectionSelection reads, for usage texts.
extern const char* const kCollectionSelection;

// The window's listing under those options; false (with the box shown, or
// the usage failed, rc set) when "자료조회" would refuse.
bool collectionListing(const QStringList& args, CollectionSelection& s, CollectionListing& l, int* rc);

} // namespace Driver
