// Plays through whatever sound output SDL reaches: a hit of Pong's player, a MIDI tune through
// the soundfont and a speech line, each after two seconds of silence, and prints when each
// sounded (milliseconds of the wall clock) for the check that records the sound server.
//   e2e_sound_server BUILD_DIR WORK_DIR
// Lines: "device yes|no", then "<what> <from> <to>" for pong, midi and speech.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "engine/module2.h"
#include "engine/state.h"
#include "minigames/pong/pong.h"
#include "runtime/audio.h"
#include "runtime/forms.h"
#include "runtime/system.h"

namespace {

long long Jetzt() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

void Melde(const std::string& was, long long von, long long bis) {
  std::printf("%s %lld %lld\n", was.c_str(), von, bis);
  std::fflush(stdout);
}

[[noreturn]] void Scheitern(const std::string& warum) {
  std::fprintf(stderr, "e2e_sound_server: %s\n", warum.c_str());
  std::exit(1);
}

// Events and timers for ms milliseconds, or until the condition holds (true then).
bool Pumpe(uint64_t ms, const std::function<bool()>& fertig = {}) {
  const uint64_t ende = rt::timeGetTime() + ms;
  for (;;) {
    rt::DoEvents();
    if (fertig && fertig()) return true;
    const uint64_t jetzt = rt::timeGetTime();
    if (jetzt >= ende) return false;
    rt::WaitForEvent(std::min(ende, jetzt + 5));
  }
}

long long SongPosition() {
  std::string antwort(64, ' ');
  if (rt::mciSendString("status vbSong position", &antwort, 64) != 0) return 0;
  return std::atoll(antwort.c_str());
}

constexpr uint64_t kStille = 2000;

// The serve as the game plays it; once the rally runs, the game holds still for a while, then
// the ball comes at the player's paddle, which stands in its way.
void PongTreffer() {
  TPong& p = Pong();
  p.Show();
  if (!Pumpe(10000, [&p] { return p.Timer1.Enabled(); })) Scheitern("Pong's rally never began");
  std::vector<rt::Timer*> laufend;
  for (rt::Timer* t : {&p.Timer1, &p.Timer2, &p.Timer3, &p.Timer4, &p.Timer5, &p.Timer6})
    if (t->Enabled()) laufend.push_back(t), t->SetEnabled(false);
  Pumpe(kStille);
  p.BallX = 585;
  p.BallY = 215;
  p.BallVX = 5;
  p.BallVY = 0;
  p.Effet = 0;
  p.SchlaegerRechtsY = 220;
  for (rt::Timer* t : laufend) t->SetEnabled(true);
  if (!Pumpe(3000, [&p] { return p.BallVX < 0; })) Scheitern("the ball did not meet the paddle");
  const long long treffer = Jetzt();
  for (rt::Timer* t : {&p.Timer1, &p.Timer2, &p.Timer3, &p.Timer4, &p.Timer5, &p.Timer6}) t->SetEnabled(false);
  Pumpe(300);
  Melde("pong", treffer, Jetzt());
  p.Unload();
}

// A tune of its own, so that notes sound from its first moment on; the scene's music channel
// plays it.
void Melodie(const std::string& arbeit) {
  const std::string datei = arbeit + "/melodie.mid";
  std::vector<rt::MidiNote> noten;
  for (int i = 0; i < 8; ++i) noten.push_back({60 + (i * 4) % 12, 0.5});
  if (!rt::WriteMidiFile(datei, noten, 120)) Scheitern("cannot write " + datei);
  Pumpe(kStille);
  SpieleMusik(rt::WinPath(datei));
  // The soundfont is read on a helper thread first.
  if (!Pumpe(20000, [] { return SongPosition() > 0; })) Scheitern("the tune never started");
  const long long anfang = Jetzt() - SongPosition();
  Pumpe(1500);
  StoppeMusik();
  Melde("midi", anfang, Jetzt());
}

// A speech line the way a scene's speech command plays it.
void Sprache(const std::string& bau) {
  Pumpe(kStille);
  const uint32_t stimme = rt::BASS_StreamCreateFile(0, rt::WinPath(bau + "/sounds/bruno_hallo.mp3"), 0, 0, 0);
  if (!stimme) Scheitern("no speech stream (error " + std::to_string(rt::BASS_ErrorGetCode()) + ")");
  rt::BASS_StreamPlay(stimme, 0, 0);
  const long long anfang = Jetzt();
  if (!Pumpe(15000, [stimme] { return !rt::StreamPlaying(stimme); })) Scheitern("the speech line did not end");
  Melde("speech", anfang, Jetzt());
  rt::BASS_StreamFree(stimme);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) Scheitern("usage: e2e_sound_server BUILD_DIR WORK_DIR");
  const std::string bau = argv[1];
  DatenPfad = rt::WinPath(bau + "/games") + "\\";
  if (!rt::BASS_Init(-1, 44100, 0, 0) || !rt::BASS_Start()) Scheitern("no sound output");
  std::printf("device %s\n", rt::AudioHasDevice() ? "yes" : "no");
  PongTreffer();
  Melodie(argv[2]);
  Sprache(bau);
  Pumpe(500);
  rt::AudioClose();
  rt::ShutdownRuntime();
  return 0;
}
