// What the passes need of the image records once the text is scanned.
#pragma once

class ImageRecList;

// Sorts the images and loads every file into the list; true on failure
// (reported).
bool LoadImageRecords(ImageRecList& images);
