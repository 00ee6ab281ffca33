#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// The music output: one channel playing one track from memory, mixed in the
// audio device's callback. Called from the main thread only.

// Opens the audio device at the given mixing rate, silent until soundPlay.
bool soundOpen(int mixRate, std::string& error);

// Starts the track at frame `from` (0: its start). The samples stay the
// caller's and must outlive playback. Once the track is over the channel
// plays silence and its position keeps counting, so a short track never
// stops the clock.
void soundPlay(const int16_t* samples, size_t frames, int channels, int rate, size_t from = 0);
// Stops the output where it is; soundPlay starts it again.
void soundPause();

// The track frame being heard: where playback started plus what the device
// has been given since, less what still waits in its buffer. Never
// decreases between two soundPlay calls.
uint64_t soundPosition();
// The playback rate of the track in Hz (0 before soundPlay).
int soundFrequency();

// 0 (silent) .. 255 (full).
void soundSetVolume(int volume);

void soundClose();
