// The Kest UI framework's core headers in one include.
#pragma once

#include "kestui/kest_control.h"
#include "kestui/kest_draw.h"
#include "kestui/kest_font.h"
#include "kestui/kest_imagelist.h"
#include "kestui/kest_main_menu.h"
#include "kestui/kest_menu.h"
#include "kestui/kest_messages.h"
#include "kestui/kest_navigation.h"
#include "kestui/kest_popup_menu.h"
