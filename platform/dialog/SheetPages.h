// The end of a sheet as hosts without a property-sheet service give it:
// OK applies and Cancel resets every page that was created, in tab order;
// pages never shown get neither.
#pragma once

#include "platform/DialogHost.h"

#include <memory>
#include <vector>

template <typename Page>
void EndCreatedPages(SheetHandler& handler, const std::vector<std::unique_ptr<Page>>& pages, SheetResult result)
{
    for (int page = 0; page < static_cast<int>(pages.size()); ++page) {
        if (!pages[static_cast<std::size_t>(page)])
            continue;
        if (result == SheetResult::Ok)
            handler.OnPageApply(page);
        else
            handler.OnPageReset(page);
    }
}
