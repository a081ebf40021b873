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

bool NamesCompositor(const char* waylandDisplay, bool socketExists)
{
    return (waylandDisplay != nullptr && *waylandDisplay != '\0') || socketExists;
}

DisplaySystem ChooseDisplaySystem(std::optional<DisplaySystem> forced, DisplayUse use, const CompositorOffer& offer)
{
    if (use == DisplayUse::HostWindow)
        return DisplaySystem::X11;
    if (forced)
        return *forced;
    if (!offer.answers)
        return DisplaySystem::X11;
    return use == DisplayUse::Configure || offer.coversOutputs ? DisplaySystem::Wayland : DisplaySystem::X11;
}
