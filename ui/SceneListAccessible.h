// What assistive technologies (screen readers) see of the custom-painted edit list: a table of
// the rows with a cell per column (number, in point, effect, out point, transition, duration,
// memo) holding the texts the row shows, the current row as the focused cell and the selected
// rows as the table's selection, which they may also change. The view calls Attach once; the
// table then tells them of every change of the rows, the selection and the current row.
#pragma once

class SceneList;
class SceneListView;

// Makes the table known to the toolkit; before any window is made, so that no list view ever gets
// the plain widget's description first. Attach does it too.
void InstallSceneListAccessibility();

void AttachSceneListAccessibility(SceneListView* view, SceneList& list);
