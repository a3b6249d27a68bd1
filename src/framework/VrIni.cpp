#include "VrIni.h"
