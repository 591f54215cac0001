#include "sample/sample_data.h"
