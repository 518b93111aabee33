// Brings a scheme in line with the device list of its robot model: every
// device of the list gets a component of its name (created by the class of
// the database table its model is found in), the model's row applied and
// the database mark; components that carry the mark but are no longer
// listed are deleted. Components without the mark are never touched.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class SchScheme;

// Device tags and the tables they are looked up in, in order.
struct DeviceTable {
  const wchar_t* table;
  // The registry class of the component; null: the class named in the
  // row's "class" column.
  const char* className;
};

// How a record's payload reads.
enum class DevicePayloadKind {
  kModel,   // model key, option string (anything after them is not used)
  kBoard,   // board width and height, float32 metres
};

struct DeviceKind {
  const char* tag;  // four characters
  DevicePayloadKind payload;
  const DeviceTable* tables;
  int tableCount;
  // A model that no table holds is reported ("dev "); for other tags the
  // record is skipped silently.
  bool reportUnknownModel;
};

// The tag's row; null for a tag the import skips.
const DeviceKind* FindDeviceKind(const char* tag);

// What one import did.
struct DeviceImportResult {
  int records = 0;   // records read (the document is modified when any)
  int created = 0;
  int updated = 0;   // existing components that took a row or a board size
  int deleted = 0;   // by the deletion pass
  bool damaged = false;  // the list ended at a damaged record
  std::vector<std::string> unknownModels;      // "dev " keys found in no table
  std::vector<std::wstring> uncreatable;       // "name (class)" of components not created
  bool Modified() const { return records > 0 || deleted > 0; }
};

// Runs the import of a device list held in bytes against scheme, with the
// component database folder's tables as catalogue. Messages are shown owned
// by owner: "Устройство \"%s\" не найдено." for each unknown "dev " model,
// then one message naming the devices whose class could not be created, and
// one for a damaged list. A damaged list applies the records read before
// the damage and deletes nothing.
DeviceImportResult ImportDeviceList(SchScheme* scheme, const unsigned char* bytes, int size, HWND owner);

// The message texts.
std::wstring UnknownDeviceMessage(const std::string& modelKey);
extern const wchar_t* const kVelkDamagedListMessage;
extern const wchar_t* const kVelkUncreatableMessage;
