// The About page: name, version, supported depths, credits and
// disclaimers, all in its dialog template. It reads and writes nothing.
#pragma once

#include "config/ConfigPage.h"
#include "res/resource.h"

class CAboutPage : public ConfigPage {
public:
    CAboutPage() : ConfigPage(IDD_ABOUT_PAGE) {}
};
