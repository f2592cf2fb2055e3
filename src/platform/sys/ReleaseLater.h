#pragma once
#include <QThreadPool>

#include <utility>

// Frees a large container off the calling thread: a listing replacing tens of
// thousands of rows hands the old ones over instead of freeing them while
// the window waits. The values must be safe to free on another thread
// (Qt's implicitly shared types are).
template <typename T> void releaseLater(T&& old) {
    if (old.isEmpty()) return;
    QThreadPool::globalInstance()->start([held = std::move(old)]() mutable { T().swap(held); });
}
