#pragma once

#include <map>
#include <string>

// Key name ("up", "space", ...) to pressed flag; an absent name reads false.
typedef std::map<std::string, bool> InputMap;

// The name a key symbol stands for, or null for keys the game ignores.
const char* keyName(int sym);

// Writes the pressed flag of the current event's key into the input map.
void handleKey(bool pressed);
