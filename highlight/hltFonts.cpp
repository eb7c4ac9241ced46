#include "highlight/hltFonts.h"

namespace {

class TDefaultFontMetricsProvider final : public ThltFontMetricsProvider {
public:
  ThltFontMetrics Metrics(const std::string&) const override { return {0, 0x31}; }
};

const TDefaultFontMetricsProvider DefaultProvider;
const ThltFontMetricsProvider* CurrentProvider = &DefaultProvider;

}  // namespace

void SetFontMetricsProvider(const ThltFontMetricsProvider* provider) {
  CurrentProvider = provider ? provider : &DefaultProvider;
}

const ThltFontMetricsProvider& FontMetricsProvider() { return *CurrentProvider; }
