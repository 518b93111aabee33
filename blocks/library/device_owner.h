// What the device blocks of a unit's program ask of the unit that owns the
// program. A programmable unit (the on-board computer, the control-panel
// computer, the microcontroller) is a circuit component: it owns one block
// scheme and sets the scheme's owner field to itself, so that its device
// blocks reach its circuit pins (CSCHBlock::GetPinInput, GetPinState,
// SetPinSource, SetPinState) by the pin index the unit writes into each of
// them.
//
// Beyond its pins a unit offers its device blocks one thing, through this
// interface: the ground its pins are measured against. A unit implements it
// beside its component class:
//
//   class CSCHBoardComputer : public CSCHDevice, public BeDeviceOwner {
//     void GetGroundReference(float* U, float* R) const override;
//   };
//
// and, when it builds its pins, finds or makes each device block by caption
// (FindOrCreateDeviceBlock) and writes the block's pin index (and, for the
// GPIO block, its line count; for the serial ports, their pin names).
#pragma once

class BeScheme;
class CBEBlock;
class CSCHBlock;

class BeDeviceOwner {
public:
  // The Thevenin pair (U volts behind R ohms) of the unit's ground pin as
  // the unit stored it in its latest step: what the GPIO and LPT blocks
  // measure their lines against.
  virtual void GetGroundReference(float* U, float* R) const = 0;

protected:
  ~BeDeviceOwner() {}
};

// The circuit component that owns the block's scheme; null for a block in
// no scheme or in a scheme without owner.
CSCHBlock* GetOwnerComponent(const CBEBlock* block);
// The owner's ground reference; 0 V behind 0 ohms (the ideal ground) when
// the owner is no BeDeviceOwner or there is no owner.
void GetOwnerGround(const CBEBlock* block, float* U, float* R);

// The device block of the scheme with that caption (BeScheme::FindDeviceBlock);
// when there is none, a new block of the class (BeScheme::CreateBlock) with
// that caption and the device flag. Null when the scheme cannot make one
// (no catalogue entry: the scheme has told the user; or no memory).
CBEBlock* FindOrCreateDeviceBlock(BeScheme* scheme, const wchar_t* caption, unsigned int classId);
