// A connector of a board's nested scheme: its pins are mirrored onto the
// owner block of the scheme, so that wires outside the board connect through
// it to the parts inside. In a scheme without an owner block it is an
// ordinary part. The connector families derive from it.
#pragma once

#include "scheme/model/block.h"

class CSCHConnector : public CSCHBlock {
public:
  // Name prefix "X".
  CSCHConnector();
  // In a scheme with an owner: drops its pins (with their wires) and its
  // mirrored pins from the owner; leaves the connector list.
  ~CSCHConnector() override;

  // Base Attach, then side = connectors already in the scheme mod 4, pin
  // offset = their pin counts summed; appended to the connector list.
  void Attach(SchScheme* scheme) override;
  // Base fields, pin count from column "n", LayoutPins.
  void ApplyDbRecord(CompDbRecord* record) override;
  // Its Paint draws the pins as arrows towards the owner's side.
  void Paint(HDC dc) override;
  void PaintPins(HDC dc);
  // Side (byte), pin count (u16), then the base record.
  void Save(CStream* stream) override;
  void Load(CStream* stream) override;
  // Merges the net of each mirrored pin of the owner into the net of the
  // matching own pin.
  void JoinInternalNets() override;
  // Lays the own pins out and mirrors them onto the owner block.
  virtual void LayoutPins();
  // Lays the pins of a connector-like block out in a row towards side s ^ 2
  // and sizes its body to them: 16 pixels a pin.
  static void LayOutPinRow(CSCHBlock* block, int s);

  // Fields, in this order.
  CSCHConnector* nextConnector = nullptr;  // the scheme's connector list, oldest first
  CSCHConnector* prevConnector = nullptr;
  int pinOffset = 0;      // index of its first mirrored pin on the owner
  int mirroredCount = 0;  // pins mirrored onto the owner so far
  unsigned char side = 0; // side of the owner on which its pins appear

protected:
  // Inserts or removes mirrored pins on the owner until `wanted` are there
  // (or the owner refuses more); keeps mirroredCount.
  void ResizeMirror(CSCHBlock* owner, int wanted);
  // Points the mirrored pins of the owner at the new name, so that their
  // labels never outlive the text they show.
  void InstanceNameChanging(const wchar_t* from, const wchar_t* to) override;

private:
  void LeaveConnectorList();
};
