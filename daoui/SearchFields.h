#pragma once
// The fields the search front ends offer: in find mode the dataset's visible
// data fields in field order, in seek mode those of its current index in
// index order.
#include <vector>

class TField;
class TVoDaoTable;

std::vector<TField*> SearchFields(const TVoDaoTable& table, bool seekMode);
