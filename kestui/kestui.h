// The Kest UI framework's core headers in one include.
#pragma once

#include "kestui/core/kest_control.h"
#include "kestui/core/kest_messages.h"
#include "kestui/forms/kest_navigation.h"
#include "kestui/graphics/kest_draw.h"
#include "kestui/graphics/kest_font.h"
#include "kestui/graphics/kest_imagelist.h"
#include "kestui/menus/kest_main_menu.h"
#include "kestui/menus/kest_menu.h"
#include "kestui/menus/kest_popup_menu.h"
