#include "scheme/model/scheme_watch.h"

#include "scheme/model/scheme.h"

SchSchemeWatch::~SchSchemeWatch() { Watch(nullptr); }

void SchSchemeWatch::Watch(SchScheme* scheme) {
  if (watched_ == scheme) return;
  if (watched_) watched_->RemoveWatch(this);
  if (scheme) scheme->AddWatch(this);
}
