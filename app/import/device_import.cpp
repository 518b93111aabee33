#include "app/import/device_import.h"

#include <cmath>
#include <cstring>

#include "app/import/device_catalogue.h"
#include "app/import/device_list.h"
#include "app/import/device_payload.h"
#include "scheme/database/compdb_record.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme.h"

const wchar_t* const kVelkDamagedListMessage =
    L"Список устройств поврежден: чтение остановлено на поврежденной записи. "
    L"Прочитанные устройства импортированы, компоненты схемы не удалены.";
const wchar_t* const kVelkUncreatableMessage = L"Не удалось создать компоненты устройств:";

namespace {

const wchar_t* const kErrorCaption = L"Ошибка";
const char* const kBoardClass = "PCB";
// Board sizes arrive in metres; components keep millimetres.
const float kMillimetresPerMetre = 1000.0f;

const DeviceTable kEngineTables[] = {{L"dcmotors", "DCMotor"}, {L"servo", "servo"}};
const DeviceTable kCameraTables[] = {{L"cameras", "Camera"}};
const DeviceTable kActuatorTables[] = {{L"actuators", "ACTUATOR"}};
const DeviceTable kIceTables[] = {{L"ICE", "ICE"}};
const DeviceTable kDeviceTables[] = {
    {L"batteries", "Battery"},   {L"computers", "BOARD_COMPUTER"}, {L"hd", "HardDrive"},
    {L"powersupply", "POWER_SUPPLY"}, {L"routers", "Router"},      {L"antennas", "Antenna"},
    {L"gps", "NavReceiver"},     {L"inertial", "InertialSystem"},  {L"distance", nullptr},
    {L"mic", "Mic"},
};
const DeviceTable kButtonTables[] = {{L"buttons", "Button"}};
const DeviceTable kJointSensorTables[] = {
    {L"encoders", "Encoder"}, {L"potentiometric", "potentiometric"}, {L"limitswitch", "LimitSwitcher"}};

#define TABLES(t) t, static_cast<int>(sizeof(t) / sizeof(t[0]))
const DeviceKind kDeviceKinds[] = {
    {"engn", DevicePayloadKind::kModel, TABLES(kEngineTables), false},
    {"rcam", DevicePayloadKind::kModel, TABLES(kCameraTables), false},
    {"act ", DevicePayloadKind::kModel, TABLES(kActuatorTables), false},
    {"ICE ", DevicePayloadKind::kModel, TABLES(kIceTables), false},
    {"dev ", DevicePayloadKind::kModel, TABLES(kDeviceTables), true},
    {"btn ", DevicePayloadKind::kModel, TABLES(kButtonTables), false},
    {"jSen", DevicePayloadKind::kModel, TABLES(kJointSensorTables), false},
    {"PCB ", DevicePayloadKind::kBoard, nullptr, 0, false},
};
#undef TABLES

// Deletes the catalogue however the import ends.
struct CatalogueScope {
  CatalogueScope() { LoadCatalogue(); }
  ~CatalogueScope() { FreeCatalogue(); }
  CatalogueScope(const CatalogueScope&) = delete;
  CatalogueScope& operator=(const CatalogueScope&) = delete;
};

std::wstring Widen(const std::string& text) {
  return Cp1251ToWide(text.data(), static_cast<int>(text.size()));
}

class DeviceImport {
public:
  DeviceImport(SchScheme* scheme, DeviceImportResult* result) : scheme_(scheme), result_(result) {}

  void MarkManagedUnseen() {
    for (CSCHBlock* b = scheme_->blocks; b; b = b->next) {
      if (b->flags & kSchBoardPart) b->flags |= kSchUnseen;
      else b->flags &= static_cast<unsigned char>(~kSchUnseen);
    }
  }

  void ClearUnseen() {
    for (CSCHBlock* b = scheme_->blocks; b; b = b->next) b->flags &= static_cast<unsigned char>(~kSchUnseen);
  }

  // Oldest first; the tail is looked up again after every deletion, as a
  // component's destructor may delete others of the scheme.
  void DeleteUnseen() {
    for (;;) {
      CSCHBlock* victim = nullptr;
      for (CSCHBlock* b = scheme_->lastBlock; b; b = b->prev) {
        if (b->flags & kSchUnseen) {
          victim = b;
          break;
        }
      }
      if (!victim) return;
      delete victim;
      result_->deleted++;
    }
  }

  void Apply(const DeviceRecord& record, const unsigned char* bytes) {
    CSCHBlock* existing = scheme_->FindBlockByName(record.name.c_str());
    if (existing) existing->flags &= static_cast<unsigned char>(~kSchUnseen);
    result_->records++;
    const DeviceKind* kind = FindDeviceKind(record.tag);
    if (!kind) return;
    CDevicePayload payload(bytes + record.payloadStart, record.payloadLength);
    if (kind->payload == DevicePayloadKind::kBoard) ApplyBoard(record, &payload, existing);
    else ApplyModel(record, *kind, &payload, existing);
  }

private:
  void ApplyBoard(const DeviceRecord& record, CDevicePayload* payload, CSCHBlock* existing) {
    float width = 0, height = 0;
    if (!payload->ReadFloat(&width) || !payload->ReadFloat(&height)) return;
    // A size that is not a positive number would leave a board no view can
    // show: the record is skipped.
    if (!std::isfinite(width) || !std::isfinite(height) || width <= 0 || height <= 0) return;
    CSCHBlock* board = existing;
    if (!board) {
      board = scheme_->CreateBlock(kBoardClass);
      if (!board) {
        result_->uncreatable.push_back(record.name + L" (PCB)");
        return;
      }
      result_->created++;
    } else {
      result_->updated++;
    }
    board->flags |= kSchBoardPart;
    board->footprintWidth = width * kMillimetresPerMetre;
    board->footprintLength = height * kMillimetresPerMetre;
    board->SetName(record.name.c_str());
  }

  void ApplyModel(const DeviceRecord& record, const DeviceKind& kind, CDevicePayload* payload,
                  CSCHBlock* existing) {
    std::string key = payload->ReadText();
    std::string options = payload->ReadText();
    // A device without a model cannot be looked up.
    if (key.empty()) return;
    for (int i = 0; i < kind.tableCount; i++) {
      const DeviceTable& table = kind.tables[i];
      CompDbRecord* row = FindCatalogueRow(table.table, key.c_str(), options.empty() ? nullptr : options.c_str());
      if (!row) continue;
      std::string className = table.className ? table.className : row->GetTextByName("class");
      CSCHBlock* block = existing;
      // A distance sensor of another class is replaced by one of the row's
      // class; the old one goes only once the new one exists.
      bool replace = !table.className && block &&
                     (!block->className || className != block->className);
      if (!block || replace) {
        CSCHBlock* created = className.empty() ? nullptr : scheme_->CreateBlock(className.c_str());
        if (!created) {
          result_->uncreatable.push_back(record.name + L" (" + Widen(className) + L")");
          return;
        }
        if (replace) {
          delete block;
          result_->deleted++;
        }
        block = created;
        result_->created++;
      } else {
        result_->updated++;
      }
      block->flags |= kSchBoardPart;
      block->flags &= static_cast<unsigned char>(~kSchUnseen);
      block->ApplyDbRecord(row);
      block->SetName(record.name.c_str());
      return;
    }
    if (kind.reportUnknownModel) result_->unknownModels.push_back(key);
  }

  SchScheme* scheme_;
  DeviceImportResult* result_;
};

}  // namespace

const DeviceKind* FindDeviceKind(const char* tag) {
  if (!tag) return nullptr;
  for (const DeviceKind& kind : kDeviceKinds)
    if (memcmp(kind.tag, tag, 4) == 0) return &kind;
  return nullptr;
}

std::wstring UnknownDeviceMessage(const std::string& modelKey) {
  return L"Устройство \"" + Widen(modelKey) + L"\" не найдено.";
}

DeviceImportResult ImportDeviceList(SchScheme* scheme, const unsigned char* bytes, int size, HWND owner) {
  DeviceImportResult result;
  if (!scheme) return result;
  CatalogueScope catalogue;
  DeviceImport import(scheme, &result);
  import.MarkManagedUnseen();

  CDeviceListReader reader(bytes, size);
  DeviceRecord record;
  DeviceRecordRead read;
  while ((read = reader.Next(&record)) == DeviceRecordRead::kRecord) {
    size_t unknownBefore = result.unknownModels.size();
    import.Apply(record, bytes);
    if (result.unknownModels.size() > unknownBefore)
      MessageBoxW(owner, UnknownDeviceMessage(result.unknownModels.back()).c_str(), kErrorCaption, MB_OK);
  }

  if (read == DeviceRecordRead::kDamaged) {
    // The rest of the list is unknown: nothing it might still name is lost.
    result.damaged = true;
    import.ClearUnseen();
  } else {
    import.DeleteUnseen();
  }

  if (!result.uncreatable.empty()) {
    std::wstring text = kVelkUncreatableMessage;
    for (const std::wstring& item : result.uncreatable) text += L"\n" + item;
    MessageBoxW(owner, text.c_str(), kErrorCaption, MB_OK | MB_ICONWARNING);
  }
  if (result.damaged) MessageBoxW(owner, kVelkDamagedListMessage, kErrorCaption, MB_OK | MB_ICONERROR);
  return result;
}
