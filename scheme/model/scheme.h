// A circuit scheme: the plain container of components, wires, junctions and
// buses (and of the nets while a simulation runs). It owns every object in
// its lists; each object's destructor unlinks it.
#pragma once

#include "scheme/model/block.h"
#include "scheme/model/bus.h"
#include "scheme/model/junction.h"
#include "scheme/model/wire.h"

class SchNet;
class SchSchemeWatch;
class CSCHConnector;
class CStream;

class SchScheme {
public:
  SchScheme();
  // Tells its watches that it goes (their editors close), stops a running
  // simulation, then deletes every object.
  ~SchScheme();
  SchScheme(const SchScheme&) = delete;
  SchScheme& operator=(const SchScheme&) = delete;

  // Deletes junctions, wires, buses, then blocks oldest first, each on its
  // own (the families among them are undone first); the scheme is empty
  // afterwards and may be filled again. A block's destructor may delete
  // other blocks of the scheme (parts it owns).
  void DeleteObjects();

  // Creates a component by its registry name and attaches it; null when the
  // registry has no creator for the name.
  CSCHBlock* CreateBlock(const char* className);

  // The "SPH1" stream. Write: with mask 0 every object, otherwise only the
  // objects whose flags share a bit with the mask. Read adds the objects of
  // the stream to the scheme, ORing flagsToAdd into their flags; on failure
  // the scheme is left as it was. An exception thrown by a block's Load
  // (a plug-in block of a missing module) also leaves it as it was and goes
  // on to the caller, which reports a failed load.
  void Write(CStream* stream, unsigned char mask);
  bool Read(CStream* stream, unsigned char flagsToAdd);

  // Lookups by saved identity (first match in list order; null when none).
  CSCHBlock* FindBlockById(int id) const;
  SchWire* FindWireById(int id) const;
  SchJunction* FindJunctionById(int id) const;
  SchBus* FindBusById(int id) const;
  // Exact, case-sensitive match of the instance name.
  CSCHBlock* FindBlockByName(const wchar_t* name) const;

  // Stream identities: running numbers per kind from 1, oldest first, put
  // into the saved identity fields of every block, wire, junction and bus;
  // the writer numbers the objects, writes, then clears the numbers again.
  void NumberObjects();
  void ClearIdentities();

  // Gives the scheme's connectors their pin offsets on the owner block: the
  // sum of the mirrored pin counts of the connectors before each.
  void RenumberConnectors();

  // Simulation drivers. BuildNets and DeleteNets are in scheme/simulation/nets.cpp.
  void BuildNets();
  // Clears the net of every pin and wire on the scheme's nets (also pins of
  // other schemes joined through connectors) and deletes the nets.
  void DeleteNets();
  void StartSimulation();
  void StepSimulation(float dt);
  void StopSimulation();
  void SaveRunState(CStream* stream);
  bool LoadRunState(CStream* stream);

  // The editors and views showing the scheme (scheme/model/scheme_watch.h).
  // The destructor of every component, wire, junction and bus of the scheme
  // calls NotifyObjectDeleting before the object goes.
  void NotifyObjectDeleting(const void* object);
  // Every watch leaves the scheme, told by OnSchemeDeleting; called by the
  // destructor, and by whoever must close the scheme's editors earlier.
  void ReleaseWatches();
  int WatchCount() const;

  // Counts of the lists.
  int BlockCount() const;
  int WireCount() const;
  int JunctionCount() const;
  int BusCount() const;
  CSCHBlock* LastBlock() const { return lastBlock; }  // oldest

  // Fields, in this order.
  CSCHBlock* blocks = nullptr;      // newest first
  SchWire* wires = nullptr;         // newest first
  SchJunction* junctions = nullptr; // newest first
  SchBus* buses = nullptr;          // newest first
  SchNet* nets = nullptr;           // during a run, newest first
  CSCHConnector* connectors = nullptr;  // oldest first
  CSCHBlock* ownerBlock = nullptr;  // the board part owning this nested scheme
  SchNet* groundNet = nullptr;      // during a run
  unsigned char startedToken = 0;
  unsigned char running = 0;
  // Set by Read while it creates a block: Attach leaves place and name to
  // the block's record, which overwrites both.
  unsigned char reading = 0;
  // The tail of the block list (the oldest block), kept by the block's
  // Attach and destructor, which link and unlink it.
  CSCHBlock* lastBlock = nullptr;

private:
  friend class SchSchemeWatch;
  void AddWatch(SchSchemeWatch* watch);
  void RemoveWatch(SchSchemeWatch* watch);
  SchSchemeWatch* watches_ = nullptr;  // newest first, linked through the watches
};
