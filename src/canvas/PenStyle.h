#pragma once
// The pen styles are those of the sketch lines.

#include "format/PenStyle.h"
