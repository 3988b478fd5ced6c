#pragma once

// The page's export and import of the highscore list as the desktop's Highscore.dat.

namespace tavi {

class HighscoreTable;

// From now on the page's exports read `list` and its imports replace it (it outlives the page's game).
void AttachWebList(HighscoreTable& list);

}  // namespace tavi
