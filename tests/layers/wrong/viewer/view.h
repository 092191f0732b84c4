// A view header, as the model must never include.
#include "model/design.h"
