#include "formdef/ParseErrorPresenter.h"

namespace {
ParseErrorPresenter* g_presenter = nullptr;
}  // namespace

void SetParseErrorPresenter(ParseErrorPresenter* presenter) { g_presenter = presenter; }

ParseErrorPresenter* GetParseErrorPresenter() { return g_presenter; }
