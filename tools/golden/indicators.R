# Writes the golden values of the indicator tests: a price series of 300 bars and
# what R's TTR package (and lm() for the trend line) computes over it. Run once,
# when a definition changes; the CSV files are committed and the tests need no R.
#   Rscript tools/golden/indicators.R tests/data/analysis
# Needs the Debian packages r-base-core and r-cran-ttr.
suppressMessages(library(TTR))

args <- commandArgs(trailingOnly = TRUE)
out <- if (length(args) > 0) args[1] else "."

# A random walk with a drift change half way, so that trends turn and the RSI and
# the ADX move through their range; rounded to cents like stored prices.
set.seed(4711)
n <- 300
steps <- c(rnorm(150, 0.15, 1.2), rnorm(150, -0.1, 1.5))
close <- round(100 + cumsum(steps), 2)
high <- round(close + abs(rnorm(n, 0, 0.8)), 2)
low <- round(close - abs(rnorm(n, 0, 0.8)), 2)

trendLine <- function(x, k) {
  sapply(seq_along(x), function(i) {
    if (i < k) return(NA)
    y <- x[(i - k + 1):i]
    t <- 0:(k - 1)
    fit <- lm(y ~ t)
    unname(coef(fit)[1] + coef(fit)[2] * (k - 1))
  })
}

bands <- BBands(close, n = 20, sd = 2)
m <- MACD(close, nFast = 12, nSlow = 26, nSig = 9, percent = FALSE)
a <- ADX(cbind(high, low, close), n = 14)

golden <- data.frame(
  close = close, high = high, low = low,
  sma10 = SMA(close, 10),
  ema10 = EMA(close, 10),
  sd7 = runSD(close, 7, sample = FALSE),
  momentum7 = momentum(close, 7),
  trend7 = trendLine(close, 7),
  bbLower20 = bands[, "dn"], bbMiddle20 = bands[, "mavg"], bbUpper20 = bands[, "up"],
  rsi14 = RSI(close, 14),
  macd = m[, "macd"], signal = m[, "signal"],
  diPlus14 = a[, "DIp"], diMinus14 = a[, "DIn"], adx14 = a[, "ADX"]
)
fmt <- function(v) ifelse(is.na(v), "NA", sprintf("%.17g", v))
lines <- c(paste(names(golden), collapse = ","),
           apply(sapply(golden, fmt), 1, paste, collapse = ","))
writeLines(lines, file.path(out, "indicators_golden.csv"))
