#include "dice/audit/Statistics.h"

#include <boost/math/distributions/binomial.hpp>
#include <boost/math/distributions/chi_squared.hpp>
#include <boost/math/distributions/normal.hpp>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace {

// Boost.Math reports what it cannot evaluate by throwing; the audit then has no p-value for
// that test (NaN), which its verdict reads as "cannot tell", never as "fair".
template <typename F> double guarded(F &&f)
{
    try {
        return f();
    } catch (const std::exception &) {
        return std::numeric_limits<double>::quiet_NaN();
    }
}

} // namespace

double Statistics::chiSquaredAbove(double x, qint64 degreesOfFreedom)
{
    if (!(x > 0))
        return 1;
    return guarded([&] {
        const boost::math::chi_squared_distribution<double> chi{double(degreesOfFreedom)};
        return boost::math::cdf(boost::math::complement(chi, x));
    });
}

double Statistics::normalTwoSided(double z)
{
    if (!std::isfinite(z))
        return std::isnan(z) ? 1 : 0;
    return guarded([&] {
        const boost::math::normal_distribution<double> normal;
        return std::min(1.0, 2 * boost::math::cdf(boost::math::complement(normal, std::fabs(z))));
    });
}

double Statistics::binomialTwoSided(qint64 count, qint64 trials, double p)
{
    if (trials <= 0)
        return 1;
    return guarded([&] {
        const boost::math::binomial_distribution<double> binomial{double(trials), p};
        const double k = double(count);
        const double atMost = boost::math::cdf(binomial, k);
        const double atLeast =
            count == 0 ? 1 : boost::math::cdf(boost::math::complement(binomial, k - 1));
        return std::min(1.0, 2 * std::min(atMost, atLeast));
    });
}
