// How a layer keeps the service interface its program installs for it.
//
// CKestServiceSlot<Service>: the service installed now, or the interface's
// own base object (its answers for a process without a program of its own)
// when none is. Set installs a service (null: the base one) and answers the
// one it replaces; the caller reinstalls that when it is done. A service is
// not owned.
//
// CKestServiceScope<Service, Install>: installs a service through Install
// while it lives and reinstalls the one before it when it goes (tests and
// nested uses).
#pragma once

template <class Service>
class CKestServiceSlot {
public:
  Service* Get() { return installed_ ? installed_ : &base_; }
  Service* Set(Service* service) {
    Service* previous = Get();
    installed_ = service == &base_ ? nullptr : service;
    return previous;
  }

private:
  Service base_;
  Service* installed_ = nullptr;  // null: the base service
};

template <class Service, Service* (*Install)(Service*)>
class CKestServiceScope {
public:
  explicit CKestServiceScope(Service* service) : previous_(Install(service)) {}
  ~CKestServiceScope() { Install(previous_); }
  CKestServiceScope(const CKestServiceScope&) = delete;
  CKestServiceScope& operator=(const CKestServiceScope&) = delete;

private:
  Service* previous_;
};
