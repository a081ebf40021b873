#include "tools/assets/ScoreNotation.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

const std::map<std::string, int>& Dynamics()
{
    static const std::map<std::string, int> levels = {{"pp", 36}, {"p", 50}, {"mp", 64},
                                                       {"mf", 80}, {"f", 96}, {"ff", 112}};
    return levels;
}

const std::map<std::string, int>& Drums()
{
    static const std::map<std::string, int> kit = {{"kick", 36}, {"snare", 38}, {"hat", 42},
                                                   {"tom", 45},  {"crash", 49}, {"ride", 51}};
    return kit;
}

int Length(const std::string& text)
{
    std::size_t used = 0;
    const int denominator = std::stoi(text, &used);
    if (denominator <= 0 || (4 * kTicksPerQuarter) % denominator != 0)
        throw std::runtime_error("bad length");
    int ticks = 4 * kTicksPerQuarter / denominator;
    const std::string rest = text.substr(used);
    if (rest == ".")
        ticks += ticks / 2;
    else if (rest == "t")
        ticks = ticks * 2 / 3;
    else if (!rest.empty())
        throw std::runtime_error("bad length");
    return ticks;
}

int Pitch(const std::string& name)
{
    const auto drum = Drums().find(name);
    if (drum != Drums().end())
        return drum->second;
    static const int steps[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (name.empty() || name[0] < 'A' || name[0] > 'G')
        throw std::runtime_error("bad pitch");
    int semitone = steps[name[0] - 'A'];
    std::size_t at = 1;
    if (at < name.size() && (name[at] == '#' || name[at] == 'b'))
        semitone += name[at++] == '#' ? 1 : -1;
    std::size_t used = 0;
    const int octave = std::stoi(name.substr(at), &used);
    if (at + used != name.size())
        throw std::runtime_error("bad pitch");
    const int pitch = (octave + 1) * 12 + semitone;
    if (pitch < 0 || pitch > 127)
        throw std::runtime_error("pitch out of range");
    return pitch;
}

}

Score ReadScore(std::string_view text)
{
    std::vector<ScoreNote> notes;
    std::istringstream words{std::string(text)};
    std::string word;
    int tick = 0;
    int barStart = 0;
    int bar = 1;
    int velocity = Dynamics().at("mf");
    while (words >> word) {
        try {
            if (word == "|") {
                if (tick - barStart != kTicksPerBar)
                    throw std::runtime_error("bar holds " + std::to_string(tick - barStart) + " ticks");
                barStart = tick;
                ++bar;
                continue;
            }
            if (const auto level = Dynamics().find(word); level != Dynamics().end()) {
                velocity = level->second;
                continue;
            }
            const bool accent = word[0] == '>';
            const std::string body = accent ? word.substr(1) : word;
            const auto slash = body.find('/');
            if (slash == std::string::npos)
                throw std::runtime_error("length missing");
            const int length = Length(body.substr(slash + 1));
            const std::string pitches = body.substr(0, slash);
            if (pitches != "r") {
                std::istringstream chord(pitches);
                std::string name;
                while (std::getline(chord, name, '+'))
                    notes.push_back({tick, length, Pitch(name), std::min(127, velocity + (accent ? 16 : 0))});
            }
            tick += length;
        } catch (const std::exception& error) {
            throw std::runtime_error("bar " + std::to_string(bar) + ", '" + word + "': " + error.what());
        }
    }
    if (tick != barStart)
        throw std::runtime_error("the last bar is not closed with |");
    return {notes, tick};
}
