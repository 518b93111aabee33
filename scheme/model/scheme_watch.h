// SchSchemeWatch: what an editor or a view that shows a circuit scheme
// registers with that scheme, so that it learns of what the scheme deletes
// before it goes. The scheme keeps its watches in a plain list (the watch
// holds the link); a watch leaves the list when it watches another scheme or
// none, when its owner is destroyed, and when the scheme is deleted.
//
// - OnSchemeDeleting: the scheme is about to be deleted. The watch has left
//   it already; its owner drops every pointer into the scheme (an editor also
//   closes).
// - OnObjectDeleting: a component, wire, junction or bus of the scheme is
//   being deleted (its memory is still valid, its kind is not: compare the
//   address only). The owner drops every pointer it holds to that object
//   (pressed object, tool object, drag state) and ends a drag that used it.
#pragma once

class SchScheme;

class SchSchemeWatch {
public:
  SchSchemeWatch() = default;
  // Leaves the scheme watched.
  virtual ~SchSchemeWatch();
  SchSchemeWatch(const SchSchemeWatch&) = delete;
  SchSchemeWatch& operator=(const SchSchemeWatch&) = delete;

  // Leaves the scheme watched so far and joins scheme's list (null: none).
  void Watch(SchScheme* scheme);
  SchScheme* GetWatchedScheme() const { return watched_; }

  virtual void OnSchemeDeleting(SchScheme* scheme) = 0;
  virtual void OnObjectDeleting(SchScheme* scheme, const void* object) = 0;

private:
  friend class SchScheme;
  SchScheme* watched_ = nullptr;
  SchSchemeWatch* nextWatch_ = nullptr;
};
