#pragma once
// The welcome score's lines (see main.cpp).

class CStavlinDoc;

// Fills an empty document with the welcome score; false when the melody
// could not be read.
bool BuildWelcomeScore(CStavlinDoc& doc);
