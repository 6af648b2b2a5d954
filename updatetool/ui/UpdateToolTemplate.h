// Dialog template 102 of the update tool, with its initialisation data.
#pragma once

#include "platform/ui/DialogTemplate.h"

const platform::ui::DialogTemplate& UpdateToolDialogTemplate();
