#pragma once

// Makes the results box read to a screen reader as a text box with a paragraph per line: the
// check's results share paragraphs of its document, separated by line separators, and the
// toolkit's own text interface would hand those out as they are and count several lines as one
// paragraph. Call before the first results box is asked for.
void InstallResultsBoxAccessibility();
