#include "renderer/device.h"
