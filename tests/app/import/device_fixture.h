// Device-list import tests: the component classes as start-up registers them
// (the electronic creators included), a database folder of the test's own
// tables, and device lists written byte by byte from the record layout.
#pragma once

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/browser/browser_fixture.h"
#include "app/editor/editor_fixture.h"
#include "app/import/device_catalogue.h"
#include "app/import/device_import.h"
#include "components/electronic/electronic_classes.h"
#include "foundation/ansi_text.h"
#include "scheme/model/block.h"
#include "scheme/model/scheme.h"

namespace importtest {

// A device list as the 3ds Max side writes it.
class DeviceListWriter {
public:
  // name in UTF-16 (written in code page 1251), a four-character tag, the
  // payload; answers the offset after the record.
  size_t Record(const std::wstring& name, const char* tag, const std::string& payload) {
    return RecordWithLength(name, tag, payload, static_cast<int>(payload.size()));
  }
  size_t RecordWithLength(const std::wstring& name, const char* tag, const std::string& payload, int length) {
    bytes_ += WideToAnsi(name);
    bytes_.push_back('\0');
    bytes_.append(tag, 4);
    char field[4];
    memcpy(field, &length, 4);
    bytes_.append(field, 4);
    bytes_ += payload;
    return bytes_.size();
  }
  // Model key and option string, each zero-terminated.
  static std::string Model(const std::string& key, const std::string& options = "") {
    return key + std::string(1, '\0') + options + std::string(1, '\0');
  }
  static std::string Board(float width, float height) {
    char field[8];
    memcpy(field, &width, 4);
    memcpy(field + 4, &height, 4);
    return std::string(field, 8);
  }
  const std::string& Bytes() const { return bytes_; }

private:
  std::string bytes_;
};

class DeviceImportTest : public apptest::EditorTest {
protected:
  void SetUp() override {
    apptest::EditorTest::SetUp();
    RegisterElectronicComponentCreators();
    // Batteries: the option key 1 chooses the connector.
    database_.WriteTable(L"batteries",
                         L"Аккумуляторы\n"
                         L"Модель:150\tU, В:60\tЕмкость:60\tРазъем:90\tЦена:60\n"
                         L"model\tU:1\tQ:1\tconn\tprice\n"
                         L"\t\t\t\t\n"
                         L"LP-1\t3.7\t2\t?1:провод;разъем\t450\n"
                         L"СА-12\t12\t7\t?1:клеммы;болты\t1900\n");
    database_.WriteTable(L"buttons",
                         L"Кнопки\n"
                         L"Модель:150\tТип:60\tГрупп:60\tЦена:60\n"
                         L"model\ttype\tN\tprice\n"
                         L"\t\t\t\n"
                         L"КМ1-1\t0\t1\t18\n"
                         L"КМ2\t0\t2\t25\n");
    database_.WriteTable(L"servo",
                         L"Сервоприводы\nМодель\tЦена\nmodel\tprice\n\t\nS-90\t300\n");
    database_.WriteTable(L"computers",
                         L"Компьютеры\nМодель\tЦена\nmodel\tprice\n\t\nPC-1\t9000\n");
    database_.WriteTable(L"distance",
                         L"Дальномеры\nМодель\tКласс\tЦена\nmodel\tclass\tprice\n\t\t\n"
                         L"ДБ-1\tBattery\t10\nД-нет\tNoSuchClass\t10\n");
  }
  void TearDown() override {
    FreeCatalogue();
    apptest::EditorTest::TearDown();
  }

  DeviceImportResult Import(SchScheme* scheme, const std::string& bytes) {
    return ImportDeviceList(scheme, reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<int>(bytes.size()), nullptr);
  }

  static std::string Ansi(const std::wstring& text) { return WideToAnsi(text); }

  browsertest::TestDatabase database_;
};

}  // namespace importtest
