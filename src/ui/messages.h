#pragma once

#include "diary/messages.h"
