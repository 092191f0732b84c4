// A model header that reaches up into the view: the layer check must refuse it.
#include "viewer/view.h"
