#include "minigames/riddle/esel.h"

#include <initializer_list>
#include <vector>

#include "engine/state.h"
#include "runtime/system.h"
#include "runtime/text.h"

namespace {

const char* const kNeueZeile = "\r\n";

// A row of the keyword table: any of `eines`, and, where given, any of `auch` as well.
struct Zeile {
  std::vector<std::string> eines, auch;
  std::string antwort;
};

std::vector<std::string> Texte(std::initializer_list<const char*> utf8) {
  std::vector<std::string> v;
  for (const char* t : utf8) v.push_back(rt::FromUtf8(t));
  return v;
}

Zeile Reihe(std::initializer_list<const char*> eines, const char* antwort,
            std::initializer_list<const char*> auch = {}) {
  return {Texte(eines), Texte(auch), rt::FromUtf8(antwort)};
}

// In the table's order: the last row that matches gives the answer.
const std::vector<Zeile>& Tabelle() {
  static const std::vector<Zeile> tabelle = {
      Reihe({"schnupfte"}, "Ahh, das tat ihm gut!"),
      Reihe({"paddelte"}, "Wie sollte er denn paddeln?"),
      Reihe({"sprang"}, "So weit konnte er nicht springen!"),
      Reihe({"fuhr"}, "Fahren, womit? Er hatte doch nix zum Fahren!"),
      Reihe({"schwam"}, "Lies dir nochmal den Text durch, dann wirst du merken, dass er nicht "
                        "schwimmen konnte!"),
      Reihe({"tauchte"}, "Er war keine Wasserratte sondern ein Esel und konnte nicht die Luft "
                         "anhalten!"),
      Reihe({"baute", "nahm"}, "Es war ein Esel. Er hatte Hufe und keine Hände!"),
      Reihe({"sprach", "bat", "fragte"}, "Es war ein Esel! Er konnte nicht sprechen! Nur kiffen!"),
      Reihe({"kaufte"}, "Er gehörte zu den Franziskanern und lehnte Reichtum ab. Wenn er Geld "
                        "hatte, dann wurde es versoffen!"),
      Reihe({"verkaufte"}, "Niemand kaufte ihm das ab!"),
      Reihe({"klaute"}, "Auch wenn er noch so gerne klauen wollte, konnte er es sich wegen "
                        "seiner Vorstafen nicht erlauben!"),
      Reihe({"kiffte"}, "1. Er hatte nix mehr zu kiffen; 2. Ihm fehlte die nötige Koordination "
                        "und 3. Er hatte keine Hände!"),
      Reihe({"flog"}, "Er hatte Höhenangst!"),
      Reihe({"pumpte"}, "Es war ein ESEL! Hör auf so blöde Sachen einzugeben! So wirst du das "
                        "Rätsel nie lösen, du Trottel! Man bist du blöd! Sowas blödes hab ich "
                        "noch nie gesehen! Ich habe fertig!"),
      Reihe({"lieh"}, "Niemand wollte ihm etwas leihen, da sein Alkoholgeruch nicht gerade für "
                      "Vertrauen sprach!"),
      Reihe({"fällte"}, "Es war zum Fällen nix in der Nähe!"),
      Reihe({"fressen"}, "Er hatte keinen Hunger! Er wollte nur DIESEN APFEL haben!"),
      Reihe({"tunnel"}, "Nach seiner Kiffing-Tour in den Alpen hatte er kein Vertrauen mehr in "
                        "Tunnel..."),
      Reihe({"nix", "nichts"}, "So kam er auch nicht zum Apfel!", {"tat"}),
      Reihe({"pub", "gaststätte", "kneipe"}, "Er war schon stoned und wurde schon letztes Mal "
             "wegen seines auffälligen Benehmens rausgeworfen!", {"ging"}),
  };
  return tabelle;
}

// The replies to a try that matches no row.
const char* const kZufallsAntworten[6] = {
    "Das ist Bl\xF6" "dsinn!", "jaja und Krakel ist NICHT doof..",
    "Hast du dir den Schund selber ausgedacht???", "Nee, das tat er nicht!",
    "Ich glaube nicht, dass er das tat!", "Gib mal was sinnvolles ein!"};

bool Enthaelt(const std::string& t, const std::string& wort) { return t.find(wort) != std::string::npos; }

bool EinesDavon(const std::string& t, const std::vector<std::string>& woerter) {
  for (const std::string& w : woerter)
    if (Enthaelt(t, w)) return true;
  return false;
}

std::string Einleitung() {
  const std::string geschichte = rt::FromUtf8(
      " Es war einmal ein alter Esel, der lebte glücklich und zufrieden auf der einen Seite eines "
      "Flusses. Eines Tages kam er völlig bekifft von seinem Stammtisch zurück und sah auf der "
      "anderen Seite des Flusses goldene Äpfel durch die Luft fliegen. Weil er Hunger hatte, die "
      "Erdnüsse alle waren und der McDonald's schon geschlossen hatte, wollte er irgendwie an die "
      "Äpfel herankommen.");
  const std::string frage = rt::FromUtf8(
      " Doch leider konnte er nicht schwimmen und Hilfe war nicht in Sicht. Was TAT er, um an die "
      "fetten goldenen Äpfel heranzukommen?");
  const std::string anleitung = rt::FromUtf8(
      " Dort unten den Text eingeben, mit Return bestätigen und mit 'Aufgeben' gibst du auf und "
      "du hast das Rätsel verloren!");
  const std::string nl = kNeueZeile;
  return "ESEL" + nl + "----" + nl + nl + geschichte + nl + frage + nl + nl + anleitung;
}

}  // namespace

std::string EselAntwort(const std::string& klein) {
  std::string antwort;
  for (const Zeile& z : Tabelle())
    if (EinesDavon(klein, z.eines) && (z.auch.empty() || EinesDavon(klein, z.auch))) antwort = z.antwort;
  return antwort;
}

TForm2& Form2() {
  static TForm2* fenster = new TForm2;
  return *fenster;
}

void TForm2::InitializeComponent() {
  Caption = "Form2";
  BorderStyle = 3;
  ControlBox = false;
  MinButton = MaxButton = false;
  StartUpPosition = 1;
  SetClientSize(450, 364);

  const rt::Font schrift{"Courier", 9.75f, true, false, false};
  Text1.Move(0, 0, 449, 321);
  Text1.MultiLine = true;
  Text1.font = schrift;
  Text1.ScrollBars = 2;
  Text1.TabIndex = 1;

  Label1.Move(8, 328, 425, 17);
  Label1.SetCaption(rt::FromUtf8("Gib hier deine Möglichkeit ein:"));
  Label2.Move(8, 344, 25, 17);
  Label2.SetCaption("Er");

  // The input line takes the keys from the start.
  Text2.Move(24, 344, 417, 19);
  Text2.font = schrift;
  Text2.TabIndex = 0;
  Text2.KeyPress = [this](int& keyAscii) { Text2_KeyPress(keyAscii); };
}

void TForm2::Form_Load() {
  ausgang_ = false;
  Text1.SetText(Einleitung());
}

// Only giving up or solving closes the window; closed any other way, the riddle is lost rather
// than leaving the script's parameter behind as the outcome.
void TForm2::Form_Unload(int&) {
  if (!ausgang_) SpielErgebnis = false;
}

void TForm2::Text2_KeyPress(int& keyAscii) {
  if (keyAscii != rt::vbKeyReturn) return;
  std::string antwort;
  const std::string echo = rt::Trim(Text2.Text);
  Text2.SetText(rt::LCase(Text2.Text));
  const std::string t = Text2.Text;
  if (t.find_first_of("aeiou") == std::string::npos)
    antwort = "Gib mal ein deutsches Wort ein, nicht " + echo + "...";
  if (std::string treffer = EselAntwort(t); !treffer.empty()) antwort = treffer;

  if (rt::Trim(t) == "aufgeben") {
    SpielErgebnis = false;
    ausgang_ = true;
    Unload();
    return;
  }
  if (Enthaelt(t, "auf") && Enthaelt(t, "gab")) {
    SpielErgebnis = true;
    ausgang_ = true;
    Unload();
    return;
  }
  if (antwort.empty()) antwort = kZufallsAntworten[rt::Int(double(rt::Rnd()) * 6)];
  Text1.SetText(Text1.Text + kNeueZeile + kNeueZeile + "Er " + echo + kNeueZeile + antwort);
  Text1.SelStart = int(Text1.Text.size());
  keyAscii = 0;
  Text2.SetText("");
}
