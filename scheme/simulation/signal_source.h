// What a component hands to a net as the net's signal source.
#pragma once

class SchPacketSet;

// The data source a component hands to a net; owned by the component.
struct SchSignalSource {
  SchPacketSet* packets;  // may be null
  float weight;           // mixing weight for source kind 0
};
