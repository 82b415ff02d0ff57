// Test helpers shared by the unit tests.
#pragma once
