// The page a list row (PSLinkListCell) pushes: one row per valid value, titled by
// "validTitles", the row's current value checked. Choosing a row hands its value to the list
// row's setter and moves the check.
#pragma once

#include "preferences/PSListController.h"

struct PSListItemsController : PSListController {
    std::vector<id> specifiers();
    void listItemSelected(id item);
};
