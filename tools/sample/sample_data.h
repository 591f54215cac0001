// Deterministic fictional sample data: securities, daily prices and volumes, a depot.
#pragma once
