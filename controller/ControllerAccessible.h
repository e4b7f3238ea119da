// What assistive technologies (screen readers) see of the painted deck controller, and the
// keyboard's way to the pictures that act on a click. Keys are buttons named by their hints in
// the user's language, pressed while held, with their keypad key, and the lamp keys toggle
// buttons checked while their lamp is lit; the deck pictures, covers and dial are buttons named
// by their captions that Tab reaches and Space presses; the jog lamp and the arrow are
// indicators; the counter, scene and id labels keep their live texts as names and say what they
// are in their descriptions. The Menu key (or Shift+F10) opens the controller's popup menu.
#pragma once

class CaptionTable;
class QWidget;
class TfrmAvCtl;

// Makes the keys and pictures known to the toolkit; before any window is made, so that none of
// them ever gets the plain widget's description first. Describe does it too.
void InstallControllerAccessibility();

// Names the window's pictures and labels in the language of the captions, lets the keyboard
// reach the pictures, and makes the keys and pictures known to assistive technologies.
void DescribeController(TfrmAvCtl& controller, const CaptionTable& captions);

// A lamp (a lamp key or the jog lamp) lit or put out: assistive technologies hear of it.
void ShowLampState(QWidget* lamp, bool lit);
