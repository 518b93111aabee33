#include "blocks/engine/block_scheme_watch.h"

#include "blocks/engine/block_scheme.h"

BeSchemeWatch::~BeSchemeWatch() { Watch(nullptr); }

void BeSchemeWatch::Watch(BeScheme* scheme) {
  if (watched_ == scheme) return;
  if (watched_) watched_->RemoveWatch(this);
  if (scheme) scheme->AddWatch(this);
}
