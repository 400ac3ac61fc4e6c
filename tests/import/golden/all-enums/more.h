#pragma once
#include "limits.h"

enum Mode { Read, Write };
