#include <gtest/gtest.h>

#include "app/message_catalog.h"
