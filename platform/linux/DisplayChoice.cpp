#include "platform/linux/DisplayChoice.h"

DisplayWords ReadDisplayWord(const std::vector<std::string>& arguments)
{
    DisplayWords words{std::nullopt, arguments};
    if (arguments.size() < 2)
        return words;
    if (arguments[1] == "--x11")
        words.forced = DisplaySystem::X11;
    else if (arguments[1] == "--wayland")
        words.forced = DisplaySystem::Wayland;
    else
        return words;
    words.arguments.erase(words.arguments.begin() + 1);
    return words;
}

bool IsDisplayModeWord(const std::string& word) { return word == "-root" || word == "--root"; }

DisplayUse DisplayModeUse(const char* daemonWindow)
{
    return daemonWindow != nullptr && *daemonWindow != '\0' ? DisplayUse::HostWindow : DisplayUse::Background;
}

bool NamesCompositor(const char* waylandDisplay, bool socketExists)
{
    return (waylandDisplay != nullptr && *waylandDisplay != '\0') || socketExists;
}

bool TriesCompositor(DisplayUse use, const char* waylandDisplay, bool socketExists)
{
    if (use == DisplayUse::HostWindow)
        return false;
    return NamesCompositor(waylandDisplay, use != DisplayUse::Background && socketExists);
}

DisplaySystem ChooseDisplaySystem(std::optional<DisplaySystem> forced, DisplayUse use, const CompositorOffer& offer)
{
    if (use == DisplayUse::HostWindow)
        return DisplaySystem::X11;
    if (forced)
        return *forced;
    if (!offer.answers)
        return DisplaySystem::X11;
    return WhyCompositorCannotServe(use, offer).empty() ? DisplaySystem::Wayland : DisplaySystem::X11;
}

std::string WhyCompositorCannotServe(DisplayUse use, const CompositorOffer& offer)
{
    switch (use) {
    case DisplayUse::Save:
        if (!offer.layerShell && !offer.toplevels)
            return "the Wayland compositor offers neither the layer shell nor xdg-shell to cover its outputs with";
        return {};
    case DisplayUse::Background:
        if (!offer.layerShell)
            return "the Wayland compositor offers no layer shell to draw the background with";
        return {};
    case DisplayUse::Configure:
        return {};
    case DisplayUse::HostWindow:
        break;
    }
    return "a host window is an X window";
}
