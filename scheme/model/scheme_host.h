// CSchemeHost: what the scheme layer and the components ask of the program
// they run in: the database viewer of a component's model, the card of a
// part without a model of its own, a scheme editor window on a nested
// scheme, and telling the user that a scheme could not be read. They call
// the host installed now (GetSchemeHost); Velkboard installs its own
// (CVelkboardHost), tests install theirs with CSchemeHostScope.
//
// The base class answers for a process without a program of its own:
// nothing for the program's windows; read errors in the system's error box.
#pragma once

#include <windows.h>

#include <cstdint>

#include "kestui/core/kest_service_slot.h"

class SchScheme;

class CSchemeHost {
public:
  CSchemeHost() = default;
  virtual ~CSchemeHost() = default;
  CSchemeHost(const CSchemeHost&) = delete;
  CSchemeHost& operator=(const CSchemeHost&) = delete;

  // The component database browser as viewer of one model: shows the record
  // of model (with its option string) in the table tableName, modally, and
  // returns when the user closed it. Base: nothing.
  virtual void ShowComponentModel(const wchar_t* tableName, const char* model, const char* options);

  // The component card "Свойства" of a part without a database model of its
  // own (a capacitor, a quartz crystal): the description beside the picture
  // (a file name in the database images folder, or null), modally, owned by
  // the main form. Base: nothing.
  virtual void ShowComponentCard(const wchar_t* description, const wchar_t* pictureFile);

  // Opens a scheme editor window (an MDI child of the main form) on a nested
  // scheme in the given editor mode with the given board size (a control
  // panel's Edit: mode 2, board 0 x 0); the program keeps the window. Base:
  // nothing; answers false.
  virtual bool OpenSchemeEditor(SchScheme* scheme, int mode, int boardWidth, int boardHeight);

  // Tells the user that a file or stream could not be read (text is the
  // whole message). Base: an error box "Ошибка" over the active window.
  virtual void ShowReadError(const wchar_t* text);

  // Names an object a component publishes for the block schemes of the
  // robot (a navigation receiver's pose, an inertial unit's measurement
  // record) by the 32-bit handle that bytes 4-7 of its packets carry; owner
  // is the component, whose WithdrawPayloads ends every handle it was
  // given. Base: 0, the handle of nothing (no program table to name it in).
  virtual uint32_t PublishPayload(void* payload, const void* owner);
  // Ends every handle published for owner. Base: nothing.
  virtual void WithdrawPayloads(const void* owner);
};

// The scheme host installed now; never null (the base host when none was).
CSchemeHost* GetSchemeHost();
// Installs host (null: the base host) and returns the one it replaces, which
// the caller reinstalls when it is done. The host is not owned.
CSchemeHost* SetSchemeHost(CSchemeHost* host);

using CSchemeHostScope = CKestServiceScope<CSchemeHost, SetSchemeHost>;
