// Helpers shared by every test executable: a bounded message pump, a
// temporary folder, byte comparisons that print hex, a message-box answerer.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace velktest {

// Dispatches every message waiting for this thread and returns how many were
// handled. Stops after maxMessages, so a window that keeps posting to itself
// cannot hang a test.
int FlushEvents(int maxMessages = 100000);

// Pumps messages until done() answers true, waiting for new messages (never
// sleeping blindly) for at most timeoutMs of wall time in total. Answers
// whether done() became true.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A fresh empty folder under the user's temporary folder, deleted with all it
// holds when the object goes.
class TempFolder {
public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::wstring& Path() const { return path_; }  // ends with a backslash
  std::wstring File(const std::wstring& name) const { return path_ + name; }

  bool WriteFile(const std::wstring& name, const void* data, size_t size) const;
  bool WriteFile(const std::wstring& name, const std::string& bytes) const {
    return WriteFile(name, bytes.data(), bytes.size());
  }
  std::vector<uint8_t> ReadFile(const std::wstring& name) const;

private:
  std::wstring path_;
};

std::vector<uint8_t> ReadWholeFile(const std::wstring& path);

// "61 62 0A" for the given bytes.
std::string HexDump(const void* data, size_t size);

// Compares bytes and, on a mismatch, prints both sequences in hex and the
// first offset where they differ.
::testing::AssertionResult BytesEqual(const void* actual, size_t actualSize,
                                      const std::vector<uint8_t>& expected);
inline ::testing::AssertionResult BytesEqual(const std::vector<uint8_t>& actual,
                                             const std::vector<uint8_t>& expected) {
  return BytesEqual(actual.data(), actual.size(), expected);
}

// Parses "61 62 0a" (white space, commas and // comments ignored) into bytes,
// for golden fixtures written by hand.
std::vector<uint8_t> ParseHex(const char* text);

// While alive, answers every message box and dialog of this thread that
// becomes active by pressing the button with the given id (IDOK, IDYES,
// IDNO, IDCANCEL, ...), and remembers what each box said.
class DialogAnswerer {
public:
  explicit DialogAnswerer(int buttonId);
  // Answers the boxes in turn with these buttons; the last one answers
  // every further box.
  explicit DialogAnswerer(std::initializer_list<int> buttonIds);
  ~DialogAnswerer();
  DialogAnswerer(const DialogAnswerer&) = delete;
  DialogAnswerer& operator=(const DialogAnswerer&) = delete;

  void SetAnswer(int buttonId) {
    answer_ = buttonId;
    sequence_.clear();
  }
  int Count() const { return static_cast<int>(texts_.size()); }
  const std::vector<std::wstring>& Captions() const { return captions_; }
  const std::vector<std::wstring>& Texts() const { return texts_; }

private:
  static LRESULT CALLBACK HookProc(int code, WPARAM wParam, LPARAM lParam);
  void OnActivate(HWND dialog);

  HHOOK hook_ = nullptr;
  int answer_;
  std::vector<int> sequence_;
  std::vector<std::wstring> captions_;
  std::vector<std::wstring> texts_;
};

// A program of the build started as a process of its own, for end-to-end
// tests. The process is ended when the object goes, if it still runs.
class ChildProcess {
public:
  // Starts exe with the arguments (the command line is the quoted exe path,
  // a blank and the arguments).
  ChildProcess(const std::wstring& exe, const std::wstring& arguments);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool Started() const { return started_; }
  // The process's visible top-level window with that caption, once it is
  // shown; null when the process ended first or timeoutMs passed. Waits on
  // the process and the message queue, never blindly.
  HWND WaitForWindow(const std::wstring& caption, DWORD timeoutMs);
  // The exit code, or -1 when the process did not end within timeoutMs.
  int WaitForEnd(DWORD timeoutMs);

private:
  bool started_ = false;
  PROCESS_INFORMATION info_ = {};
};

// Saves what a window shows (its whole rectangle as on screen) as a 24-bit
// BMP file. Answers false when the window or the file cannot be used.
bool SaveWindowBitmap(HWND window, const std::wstring& path);

// The screenshot folder of the build ("build\screenshots\" beside the
// test program's "bin" folder), created when missing.
std::wstring ScreenshotFolder();
// SaveWindowBitmap into the screenshot folder under name.
bool SaveScreenshot(HWND window, const std::wstring& name);

}  // namespace velktest
