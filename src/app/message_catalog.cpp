#include "app/message_catalog.h"
