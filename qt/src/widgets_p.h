#pragma once
// Internal: the whole of the Qt toolkit's inside, for its tests. The
// toolkit's own files include only the parts they use; other folders reach
// the toolkit through its public headers.

#include "artwork_p.h"
#include "command_button_p.h"
#include "drawn_parts_p.h"
#include "form_p.h"
#include "image_p.h"
#include "kept_picture_p.h"
#include "label_p.h"
#include "picture_box_p.h"
#include "surface_p.h"
#include "text_box_p.h"
#include "up_down_p.h"
#include "widget_p.h"
