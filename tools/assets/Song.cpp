#include "tools/assets/Song.h"

#include <string>

namespace {

// Form: intro (4 bars) | A theme (8) | A again with the flute above (8) |
// B in F major, the flute leading (8) | A for everyone, ending on D (8).
// Every part is written section by section in that order.

std::string Join(std::initializer_list<const char*> sections)
{
    std::string text;
    for (const char* section : sections)
        text += std::string(section) + '\n';
    return text;
}

const char* const rest4 = "r/1 | r/1 | r/1 | r/1 |";
const char* const rest8 = "r/1 | r/1 | r/1 | r/1 | r/1 | r/1 | r/1 | r/1 |";

// The A sections share their first seven bars in every part; each part
// writes those once (the ...Theme strings) and its own eighth bars.

// Trumpet: the fanfare call, then the theme.
const char* const trumpetIntro = "r/1 | r/1 | mf A4/8. A4/16 D5/8. D5/16 F5/4 D5/4 | A5/2. r/4 |";
const char* const trumpetTheme = ">A4/4. A4/8 D5/4 A4/4 | F4/4. G4/8 A4/2 | >Bb4/4. A4/8 G4/4 Bb4/4 | A4/2. r/4 |"
                                 " >A4/4. A4/8 D5/4 E5/4 | F5/4. E5/8 D5/4 F5/4 | D5/4 Bb4/4 A4/4 C#5/4 |";
const char* const trumpetB = "r/1 | r/1 | r/1 | r/1 | r/1 | r/1 | mf D5/2 D5/2 | f C#5/4 C#5/4 E5/4 E5/4 |";

// Horn: held chord tones under the theme, a slow line in B.
const char* const hornIntro = "p D4+A4/1 | D4+A4/1 | mf D4+A4/1 | E4+A4/2. r/4 |";
const char* const hornTheme = "F4/2 F4/2 | D4/2 F4/2 | D4/2 G4/2 | E4/2. r/4 | F4/2 A4/2 | D4/2 D4/2 | Bb3/2 E4/2 |";
const char* const hornB = "mp A4/1 | G4/1 | F4/1 | F4/2 D4/2 | A4/1 | G4/1 | mf F4/2 D4/2 | E4/1 |";

// Trombones: short chords on the off beats.
const char* const tromboneIntro = "r/1 | r/1 | p D3+A3/1 | C#3+E3/2. r/4 |";
const char* const tromboneTheme = "r/4 D3+F3/4 r/4 D3+F3/4 | r/4 D3+F3/4 r/4 D3+F3/4 | r/4 G3+Bb3/4 r/4 G3+Bb3/4 |"
                                  " r/4 C#3+E3/4 r/4 C#3+E3/4 | r/4 D3+F3/4 r/4 D3+F3/4 | r/4 D3+F3/4 r/4 D3+F3/4 |"
                                  " r/4 G3+Bb3/4 r/4 C#3+E3/4 |";
const char* const tromboneB = "p r/4 F3+A3/4 r/4 F3+A3/4 | r/4 E3+G3/4 r/4 E3+G3/4 | r/4 D3+F3/4 r/4 D3+F3/4 |"
                              " r/4 D3+F3/4 r/4 D3+F3/4 | r/4 F3+A3/4 r/4 F3+A3/4 | r/4 E3+G3/4 r/4 E3+G3/4 |"
                              " mf r/4 D3+F3/4 r/4 D3+G3/4 | r/4 C#3+E3/4 r/4 C#3+E3/4 |";

// Strings: the harmony, a chord to a bar, in octaves at the close.
const char* const stringsIntro = "pp D3+A3/1 | D3+A3/1 | mp D3+F3+A3/1 | C#3+E3+A3/2. r/4 |";
const char* const stringsTheme = "D4+F4+A4/1 | D4+F4+A4/1 | D4+G4+Bb4/1 | C#4+E4+A4/1 | D4+F4+A4/1 | D4+F4+Bb4/1 |"
                                 " D4+G4+Bb4/2 C#4+E4+A4/2 |";
const char* const stringsB = "p C4+F4+A4/1 | C4+E4+G4/1 | D4+F4+A4/1 | D4+F4+Bb4/1 | C4+F4+A4/1 | C4+E4+G4/1 |"
                             " mp D4+F4+A4/2 D4+G4+Bb4/2 | C#4+E4+A4/1 |";
const char* const stringsFinal = "mf D4+F4+A4+D5/1 | D4+F4+A4+D5/1 | D4+G4+Bb4+D5/1 | C#4+E4+A4+C#5/1 |"
                                 " D4+F4+A4+D5/1 | D4+F4+Bb4+D5/1 | D4+G4+Bb4/2 C#4+E4+A4/2 | D4+F4+A4+D5/2 r/2 |";

// Flute: silent in the first theme, a running line above the second,
// the tune of B, and the running line again to close.
const char* const fluteTheme = "r/4 F5/8 E5/8 D5/8 E5/8 F5/8 A5/8 | D6/4 C6/8 A5/8 F5/4 A5/4 |"
                               " G5/8 A5/8 Bb5/8 D6/8 Bb5/4 G5/4 | E5/8 G5/8 A5/8 C#6/8 E6/4 r/4 |"
                               " F6/4. E6/8 D6/4 A5/4 | Bb5/8 A5/8 Bb5/8 D6/8 F6/4 D6/4 |"
                               " G6/8 F6/8 E6/8 D6/8 C#6/8 D6/8 E6/8 C#6/8 |";
const char* const fluteB = "mf C6/4 A5/8 F5/8 C6/4 A5/4 | G5/4. A5/8 Bb5/4 G5/4 | A5/4 F5/8 D5/8 A5/4 F5/4 |"
                           " Bb5/2 A5/4 G5/4 | C6/4 A5/8 F5/8 C6/4 F6/4 | E6/4. D6/8 C6/4 G5/4 |"
                           " A5/4 D6/4 Bb5/4 G5/4 | A5/2 C#6/4 E6/4 |";

// Timpani: tonic and dominant on the strong beats, rolls into the sections.
const char* const timpaniIntro = "mp D3/4 r/4 A2/4 r/4 | D3/4 r/4 A2/4 r/4 | D3/4 r/4 A2/4 r/4 |"
                                 " A2/16 A2/16 A2/16 A2/16 A2/16 A2/16 A2/16 A2/16 >A2/4 r/4 |";
const char* const timpaniTheme = "D3/4 r/4 A2/4 r/4 | D3/4 r/4 A2/4 r/4 | G2/4 r/4 D3/4 r/4 | A2/4 r/4 A2/4 r/4 |"
                                 " D3/4 r/4 A2/4 r/4 | Bb2/4 r/4 D3/4 r/4 | G2/4 r/4 A2/4 r/4 |";
const char* const timpaniB = "mp F2/4 r/2. | r/1 | D3/4 r/2. | r/1 | F2/4 r/2. | r/1 | D3/4 r/4 G2/4 r/4 |"
                             " p A2/16 A2/16 A2/16 A2/16 mp A2/16 A2/16 A2/16 A2/16 mf A2/16 A2/16 A2/16 A2/16"
                             " f A2/16 A2/16 A2/16 A2/16 |";

// Tuba: the bass on beats one and three.
const char* const tubaIntro = "mp D2/4 r/4 A1/4 r/4 | D2/4 r/4 A1/4 r/4 | D2/4 r/4 A1/4 r/4 | A1/2. r/4 |";
const char* const tubaTheme = "D2/4 r/4 A1/4 r/4 | D2/4 r/4 A1/4 r/4 | G1/4 r/4 D2/4 r/4 | A1/4 r/4 E2/4 r/4 |"
                              " D2/4 r/4 A1/4 r/4 | Bb1/4 r/4 F2/4 r/4 | G1/4 r/4 A1/4 r/4 |";
const char* const tubaB = "mp F1/4 r/4 C2/4 r/4 | C2/4 r/4 G1/4 r/4 | D2/4 r/4 A1/4 r/4 | Bb1/4 r/4 F1/4 r/4 |"
                          " F1/4 r/4 C2/4 r/4 | C2/4 r/4 G1/4 r/4 | D2/4 r/4 G1/4 r/4 | A1/4 r/4 E2/4 r/4 |";

// Drums: the march beat, lighter in B, rolls and crashes at the joins.
// The last bar's pickup leads back into the intro when the song repeats.
const char* const drumsIntro = "mp kick/4 snare/8. snare/16 kick/4 snare/8 snare/8 |"
                               " kick/4 snare/8. snare/16 kick/4 snare/8 snare/8 |"
                               " mf kick/4 snare/8. snare/16 kick/4 snare/8 snare/8 |"
                               " kick+crash/4 snare/8 snare/8 snare/16 snare/16 snare/16 snare/16"
                               " f snare/16 snare/16 snare/16 snare/16 |";
const char* const marchBeat = "kick/4 snare/8. snare/16 kick/4 snare/8 snare/8 |";
const char* const drumsFill = "kick/4 snare/8 snare/8 snare/8t snare/8t snare/8t snare/8t snare/8t snare/8t |";
const char* const drumsB = "mp kick/4 r/4 snare/4 r/4 | kick/4 r/4 snare/4 r/4 | kick/4 r/4 snare/4 r/4 |"
                           " kick/4 r/4 snare/4 r/4 | kick/4 r/4 snare/4 r/4 | kick/4 r/4 snare/4 r/4 |"
                           " mf kick/4 snare/8. snare/16 kick/4 snare/8 snare/8 |"
                           " p snare/16 snare/16 snare/16 snare/16 mp snare/16 snare/16 snare/16 snare/16"
                           " mf snare/16 snare/16 snare/16 snare/16 f snare/16 snare/16 snare/16 snare/16 |";
const char* const drumsEnd = "kick+crash/4 r/4 mf snare/8 snare/8 snare/16 snare/16 snare/16 snare/16 |";

std::string DrumsA(const char* dynamic, const char* last)
{
    std::string text = std::string(dynamic) + " kick+crash/4 snare/8. snare/16 kick/4 snare/8 snare/8 |";
    for (int bar = 0; bar < 6; ++bar)
        text += std::string(" ") + marchBeat;
    return text + " " + last + '\n';
}

MidiSong BuildSong()
{
    MidiSong song{"Dovezi March", 104, 36, -1, true, {}};
    song.parts = {
        {"Trumpet", 0, 56, 110, 70, 0.9,
         Join({trumpetIntro, "f", trumpetTheme, "D5/2. r/4 |", trumpetTheme, "D5/2 r/8 C5/8 C5/8 C5/8 |", trumpetB,
               "ff", trumpetTheme, ">D5/2 r/2 |"})},
        {"Horn", 1, 60, 92, 46, 0.95,
         Join({hornIntro, "mf", hornTheme, "F4/2. r/4 |", hornTheme, "F4/2 E4/2 |", hornB, "f", hornTheme,
               "F4+A4/2 r/2 |"})},
        {"Trombone", 2, 57, 84, 84, 0.55,
         Join({tromboneIntro, "mf", tromboneTheme, "r/4 D3+F3/4 r/4 D3+F3/4 |", tromboneTheme,
               "r/4 D3+F3/4 r/4 C3+E3/4 |", tromboneB, "f", tromboneTheme, "D3+A3/2 r/2 |"})},
        {"Strings", 3, 48, 76, 64, 1.0,
         Join({stringsIntro, "mp", stringsTheme, "D4+F4+A4/1 |", stringsTheme, "D4+F4+A4/2 C4+E4+Bb4/2 |", stringsB,
               stringsFinal})},
        {"Flute", 4, 73, 92, 36, 0.85,
         Join({rest4, rest8, "mf", fluteTheme, "D6/2 r/4 r/8 C6/8 |", fluteB, fluteTheme, "D6/2 r/2 |"})},
        {"Timpani", 5, 47, 100, 64, 0.9,
         Join({timpaniIntro, "mf", timpaniTheme, "D3/4 r/4 A2/8 A2/8 D3/4 |", timpaniTheme, "D3/4 r/4 C3/4 r/4 |",
               timpaniB, "f", timpaniTheme, ">D3/8 D3/8 A2/8 A2/8 D3/4 r/4 |"})},
        {"Tuba", 6, 58, 100, 56, 0.8,
         Join({tubaIntro, "mf", tubaTheme, "D2/4 r/4 A1/4 r/4 |", tubaTheme, "D2/4 r/4 C2/4 r/4 |", tubaB, "f",
               tubaTheme, "D2/2 r/2 |"})},
        {"Drums", 9, 0, 100, 64, 0.5,
         Join({drumsIntro, DrumsA("f", drumsFill).c_str(), DrumsA("f", drumsFill).c_str(), drumsB,
               DrumsA("ff", drumsEnd).c_str()})},
    };
    return song;
}

}

const MidiSong& DoveziMarch()
{
    static const MidiSong song = BuildSong();
    return song;
}
