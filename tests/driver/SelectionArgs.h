#pragma once
#include "transfers/collection/CollectionListing.h"

#include <QStringList>

namespace Driver {

// The collection window's selections from round-show's options; false when
// --yearmon or --seqno is missing.
bool collectionSelection(const QStringList& args, CollectionSelection& s);

} // namespace Driver
