#include "screens/fail_state.h"

FailState::FailState() : FadeCard("fail.png") {}
