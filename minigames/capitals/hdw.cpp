#include "minigames/capitals/hdw.h"

#include <cstdio>

#include "engine/shared.h"
#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

const rt::Font kSchrift{"MS Sans Serif", 12.0f, true, false, false};
const rt::Color kAntwortGrund = rt::RGB(0, 0, 64);

// The phrases around the country, by the second random draw.
const char* const kVorher[4] = {"Wie lautet die Hauptstadt von ", "Wie hei\xDFt die Hauptstadt von ",
                                "Nenne mir die Hauptstadt von ", "Kannst du mir die Hauptstadt von "};
const char* const kNachher[4] = {"?", "?", "!", " nennen?"};

// The lines of a single-byte text file, whichever line ends it uses.
std::vector<std::string> Zeilen(const std::string& inhalt) {
  std::vector<std::string> zeilen;
  std::string zeile;
  for (size_t i = 0; i < inhalt.size(); ++i) {
    const char c = inhalt[i];
    if (c == '\r' || c == '\n') {
      zeilen.push_back(zeile);
      zeile.clear();
      if (c == '\r' && i + 1 < inhalt.size() && inhalt[i + 1] == '\n') ++i;
    } else {
      zeile += c;
    }
  }
  if (!zeile.empty()) zeilen.push_back(zeile);
  return zeilen;
}

}  // namespace

THDW& HDW() {
  static THDW* fenster = new THDW;
  return *fenster;
}

void THDW::InitializeComponent() {
  Caption = "Form3";
  BorderStyle = 0;
  ControlBox = false;
  MinButton = MaxButton = false;
  StartUpPosition = 1;
  BackColor = rt::RGB(0, 0, 128);
  SetClientSize(410, 237);

  Label1.Move(0, 0, 409, 137);
  Label1.font = kSchrift;
  Label1.ForeColor = rt::RGB(255, 255, 0);
  Label1.BackStyle = 0;
  Label1.Alignment = 2;
  Label1.SetCaption("");

  for (int i = 0; i < 4; ++i) {
    rt::Label& l = Label2[i];
    l.Move(i % 2 ? 208 : 8, i < 2 ? 152 : 192, 193, 33);
    l.font = kSchrift;
    l.ForeColor = rt::RGB(192, 255, 255);
    l.BackColor = kAntwortGrund;
    l.Alignment = 2;
    l.SetCaption("Antwort 1");
    l.Click = [this, i] { Label2_Click(i); };
  }

  Timer1.SetInterval(1);
  Timer1.SetEnabled(false);
  Timer1.Tick = [this] { Timer1_Timer(); };
  Timer2.SetInterval(100);
  Timer2.SetEnabled(false);
  Timer2.Tick = [this] { Timer2_Timer(); };
  Timer3.SetInterval(300);
  Timer3.SetEnabled(false);
  Timer3.Tick = [this] { Timer3_Timer(); };
}

void THDW::Buttonssperren() {
  for (rt::Label& l : Label2) l.SetEnabled(false);
}

void THDW::Buttonsunsperren() {
  for (rt::Label& l : Label2) l.SetEnabled(true);
}

void THDW::FragenLaden(const std::string& datei) {
  Fragen.clear();
  Antworten.clear();
  LetzteFrage = -1;
  std::string inhalt;
  if (!rt::ReadFileBytes(datei, inhalt)) {
    std::fprintf(stderr, "Norvalde: Hauptstadt-Liste nicht lesbar: %s\n", rt::ToUtf8(datei).c_str());
    return;
  }
  for (const std::string& zeile : Zeilen(inhalt)) {
    const std::string staedte = HoleFeld(zeile, "#", 2);
    if (HoleFeld(staedte, ",", 4) == " ") continue;
    LetzteFrage += 1;
    Fragen.push_back(rt::Trim(HoleFeld(zeile, "#", 1)));
    std::array<std::string, 4> antworten;
    for (int i = 0; i < 4; ++i) antworten[size_t(i)] = rt::Trim(HoleFeld(staedte, ",", i + 1));
    Antworten.push_back(antworten);
  }
  if (LetzteFrage < 0)
    std::fprintf(stderr, "Norvalde: keine gültige Zeile in %s\n", rt::ToUtf8(datei).c_str());
}

void THDW::Form_Load() {
  Buttonssperren();
  // Every way out but four right answers is a loss, closing from outside included.
  SpielErgebnis = false;
  RichtigZaehler = FalschZaehler = 0;
  FragenLaden(DatenPfad + "HDW.txt");
  FrageNr = 0;
  Timer1.SetEnabled(true);
}

void THDW::Timer1_Timer() {
  Timer1.SetEnabled(false);
  FrageNr += 1;
  if (FrageNr == 5) {
    SpielErgebnis = true;
    Unload();
    return;
  }
  // Without a single question there is nothing to ask: the quiz is lost.
  if (LetzteFrage < 0) {
    Unload();
    return;
  }
  const int32_t q = int32_t(rt::Int(double(rt::Rnd()) * (LetzteFrage + 1)));
  const int32_t satz = int32_t(rt::Int(double(rt::Rnd()) * 4));
  Label1.SetCaption(std::to_string(FrageNr) + ". Frage:\r\n" + kVorher[satz] + Fragen[size_t(q)] +
                    kNachher[satz]);
  RichtigerIndex = int32_t(rt::Int(double(rt::Rnd()) * 4));
  const auto& a = Antworten[size_t(q)];
  for (int h = 0; h < 4; ++h) {
    const int quelle = h == 0 ? RichtigerIndex : h == RichtigerIndex ? 0 : h;
    Label2[h].SetCaption(a[size_t(quelle)]);
  }
  SpieleSound(DatenPfad + "wodds.wav");
  Buttonsunsperren();
}

void THDW::Label2_Click(int index) {
  Buttonssperren();
  if (index == RichtigerIndex) {
    Timer2.SetEnabled(true);
  } else {
    Timer3.SetEnabled(true);
  }
}

bool THDW::Rueckmeldung(int32_t& zaehler, const char* urteil, const char* klang, int32_t ticks) {
  if (zaehler == 0) {
    Label1.SetCaption(std::string("\r\n") + urteil);
    SpieleSound(DatenPfad + klang);
  }
  zaehler += 1;
  Label1.SetVisible(!Label1.Visible());
  rt::Label& richtig = Label2[RichtigerIndex];
  richtig.BackColor ^= 0xFFFFFF;
  richtig.Invalidate();
  if (zaehler < ticks) return false;
  zaehler = 0;
  return true;
}

void THDW::Timer2_Timer() {
  if (!Rueckmeldung(RichtigZaehler, "DAS IST RICHTIG!", "e_laugh.wav", 40)) return;
  Timer2.SetEnabled(false);
  Timer1.SetEnabled(true);
}

void THDW::Timer3_Timer() {
  if (!Rueckmeldung(FalschZaehler, "DAS WAR LEIDER FALSCH!", "electric.wav", 20)) return;
  Timer3.SetEnabled(false);
  Unload();
}
