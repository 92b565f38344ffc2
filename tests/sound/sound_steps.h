// Steps shared by the sound tests on a ClientHarness: what the trace says
// was played, what the harness's silent device opened, and a program
// directory with a "../common" folder of the test's own.
#pragma once

#include <string>
#include <vector>

#include "platform/silent_sound_device.h"
#include "support/table_steps.h"
#include "support/wave_file.h"

namespace tess::test {

// A small valid WAVE file: 0.1 s of a quiet square wave, mono, 16 bit,
// 22050 Hz.
std::string SmallWave();

struct PlayedSound {
  std::string file;
  bool loop = false;
  bool operator==(const PlayedSound&) const = default;
};

// The trace's events so far, to take later events from.
size_t TraceMark(const ClientHarness& h);
// The "sound" events from mark `from` on, in order.
std::vector<PlayedSound> SoundsPlayed(const ClientHarness& h, size_t from = 0);
// How many "sound_stop" events from mark `from` on.
int SoundStops(const ClientHarness& h, size_t from = 0);

// The device the harness installed.
SilentSoundDevice& Silent(ClientHarness& h);
// The files the device made buffers from (those it could decode), in order.
std::vector<std::string> FilesOpened(ClientHarness& h);

// Moves the program directory to home/bin, so that "../common" is
// home/common (made, with music/ and mj/, empty); returns that folder.
// Sounds played afterwards are looked for there.
std::string UsePrivateCommon(ClientHarness& h);

// A left click at the middle of `e` (on a shown form), through the
// desktop's input routing; never taken for a double click.
void Click(ClientHarness& h, const Element& e);

}  // namespace tess::test
