// The monitor: a debugging block that writes every change of its input, with
// the time, as a line of a text log.
#pragma once

#include <cstdio>

#include "blocks/engine/block.h"

const unsigned int kBeMonitorClassId = 0x33AFF134;

class CBEMonitor : public CBEBlock {
public:
  // Joins the end of the program-wide list and takes the caption "out%d"
  // numbered after the monitors that already exist.
  CBEMonitor();
  // Leaves the list; closes the log.
  ~CBEMonitor() override;

  // Opens the log file (creating or truncating it) when one is named.
  void Start() override;
  // Writes a line when the first four bytes of the source's value changed
  // (always on the first step), then adds dt to the time.
  void Step(float dt) override;
  void Stop() override;
  // The base record, then the log file name.
  void Save(CStream* stream) override;
  bool Load(CStream* stream) override;
  // Body, own caption, a black bar on the right edge.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  // Keeps a copy of the file name (null: no log).
  void SetLogFileName(const wchar_t* name);

  static CBEBlock* Create();
  // The program-wide list, oldest first.
  static CBEMonitor* First();
  static int Count();

  CBEMonitor* nextMonitor = nullptr;
  CBEMonitor* previousMonitor = nullptr;
  wchar_t* logFileName = nullptr;  // owned
  FILE* logFile = nullptr;
  double time = 0;
  unsigned int lastWord = 0;
};
