// CBEVideoNavigation ("Видеонавигация"): the navigation map on a block of
// the on-board computer. Camera frames, odometry, range-finder readings and
// commands come in through its pins; the pose, route guidance and wall
// flags go out. With r range finders it has 12 + r inputs ("cam" .. "clear",
// one per finder, "obs") and 10 + r outputs ("globalMap" .. "pathY", one
// "isWall" flag per finder).
#pragma once

#include "blocks/engine/block.h"
#include "blocks/library/navigation/nav_map.h"

// The picture the block draws, from the scheme icons folder.
extern const wchar_t kVideoNavigationPicture[];

class CBEVideoNavigation : public CBEBlock {
public:
  // The record's current version.
  static const unsigned char kVersion = 3;
  // Range finders a block can have (the properties dialog's limit).
  static const int kMaxFinders = 127;

  // Input and output indices before the range finders'.
  enum InputIndex {
    kInCamera = 0,
    kInVx,
    kInVy,
    kInTurn,
    kInMode,
    kInPlaceId,
    kInAddPlace,
    kInManualX,
    kInManualY,
    kInManualA,
    kInClear,
    kInFirstFinder,  // then one per range finder, then "obs"
  };
  enum OutputIndex {
    kOutGlobalMap = 0,
    kOutRobotLost,
    kOutRobotX,
    kOutRobotY,
    kOutRobotA,
    kOutPlaceId,
    kOutTargetDist,
    kOutPathA,
    kOutPathX,
    kOutPathY,
    kOutFirstWall,  // one per range finder (9 in records before version 3)
  };

  // 200 x 220, green, caption "Визуальная навигация"; 500,000 cycles,
  // 20,000 ROM and 10,000,000 RAM bytes; a map with the three default
  // range finders and the pins for them.
  CBEVideoNavigation();
  ~CBEVideoNavigation() override;
  static CBEBlock* Create();

  // Pins for the map's range finders as records of that version lay them
  // out (nine fixed outputs before version 3, ten since); height 220 + 30
  // per finder. Pins kept keep their links; when the fixed outputs grow to
  // ten, the wall flags move behind "pathY" with their links. False when
  // memory runs out (the pins are then as they were).
  bool BuildPins(int version);

  // Camera, odometry, mode, target, places, manual correction, clearing,
  // range readings and obstacles, then the outputs (see the pins).
  void Step(float dt) override;
  // Version, range finders, parameters, map file name, base record, the
  // planning parameters.
  void Save(CStream* stream) override;
  // False, with the block as it was, for a cut record, an unknown version,
  // more than kMaxFinders finders or a parameter that is not a finite
  // number of at least 0; the map is built empty.
  bool Load(CStream* stream) override;
  // Body and picture.
  void Draw(HDC dc) override;
  // The dialog registered for the class; false without one.
  bool ShowProperties() override;

  NavMap* Map() const { return map_; }

  // Fields.
  short lastFrame = -1;  // counter byte of the last camera frame taken (-1 none yet)
  double lastAddPlace = 0;  // "addPlace" on the previous step
  bool manualTurn = false;  // "man_dA" was non-zero on the previous step

private:
  // Output 9 becomes "pathY" and the wall flags follow it (links kept).
  bool InsertPathY();
  void NamePins(int fixedOutputs);

  NavMap* map_ = nullptr;
  int fixedOutputs_ = 0;  // fixed outputs of the present pins (9 or 10; 0 before any)
};
