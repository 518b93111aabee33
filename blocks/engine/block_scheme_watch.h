// BeSchemeWatch: what an editor or a view that shows a block scheme
// registers with that scheme, so that it learns of what the scheme deletes
// before it goes. The scheme keeps its watches in a plain list (the watch
// holds the link); a watch leaves the list when it watches another scheme or
// none, when its owner is destroyed, and when the scheme is deleted.
//
// - OnSchemeDeleting: the scheme is about to be deleted (its macro block or
//   its unit goes, the document closes). The watch has left it already; its
//   owner drops every pointer into the scheme (an editor also closes).
// - OnObjectDeleting: a block of the scheme, or one pin of a block, is being
//   deleted (its memory is still valid: an owner compares addresses, and may
//   read the owner of a pin it holds itself). The owner drops every pointer
//   it holds into what goes (pressed object, hot link) and ends a drag that
//   used it.
#pragma once

class BeScheme;

class BeSchemeWatch {
public:
  BeSchemeWatch() = default;
  // Leaves the scheme watched.
  virtual ~BeSchemeWatch();
  BeSchemeWatch(const BeSchemeWatch&) = delete;
  BeSchemeWatch& operator=(const BeSchemeWatch&) = delete;

  // Leaves the scheme watched so far and joins scheme's list (null: none).
  void Watch(BeScheme* scheme);
  BeScheme* GetWatchedScheme() const { return watched_; }

  virtual void OnSchemeDeleting(BeScheme* scheme) = 0;
  virtual void OnObjectDeleting(BeScheme* scheme, const void* object) = 0;

private:
  friend class BeScheme;
  BeScheme* watched_ = nullptr;
  BeSchemeWatch* nextWatch_ = nullptr;
};
