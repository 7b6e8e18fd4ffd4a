#pragma once
// Constructions and production orders: the two kinds of work a colony starts
// and the monthly update finishes. Their templates, what a work of c items in
// m months costs, the shortfall check and the payment, as plain data and
// functions that both commands share.
#include <cstdint>

#include "model/state.h"

// One structure or product: goods per item, and money, power and workers per
// item for a build time of 1, 2 or 3 months (a shorter time costs more).
struct WorkTemplate {
    int32_t goods3, goods2, goods1;
    int32_t money[3], power[3], workers1[3], workers2[3], workers3[3];
};
extern const WorkTemplate constructionTemplates[5];  // structure types 1 to 5
extern const WorkTemplate orderTemplates[6];         // product types 1 to 6

// The eight cost lines, in the order of the shortfall flags 1 to 8.
enum CostLine { costGoods3, costGoods2, costGoods1, costMoney, costWorkers1, costWorkers2, costWorkers3, costPower,
                costLines };
// Amounts in 64 bits: a count times a price never wraps, and neither does a
// colony's free power from an edited file.
struct WorkCost {
    int64_t line[costLines];
};

// What `count` items in `months` (1 to 3) months cost.
WorkCost workCost(const WorkTemplate& item, int32_t count, int32_t months);
// What the current player has against each line: stock, money, free workers
// and free power (capacity less demand).
WorkCost colonyMeans(const GameState& game);
// Sets flag k (1 to 8) for every line whose means are below the cost (equal
// is enough) and clears the others; gives the number set.
int32_t findShortfall(const WorkCost& means, const WorkCost& cost, int32_t flags[9]);
int32_t shortfallCount(const int32_t flags[9]);

// The per-player tables of one kind of work.
using WorkTable = PlayerTable PlayerTables::*;
struct WorkTables {
    WorkTable type, count, months, power, workers1, workers2, workers3;
};
extern const WorkTables constructionTables;
extern const WorkTables orderTables;

// Takes the goods and money, ties the workers and the power up in the work
// and sets its type; its count and months already hold the choice.
void payWork(GameState& game, const WorkTables& work, int32_t type, const WorkCost& cost);

// The count keys of the detail window: Left, Right, "4" and "6".
enum class CountStep { less, more, tenLess, tenMore };
// A construction's count runs from 1 to 999.
int32_t constructionCountAfter(CountStep step, int32_t count, int32_t workshops);
// An order's count is also held to the number of workshops; "6" stops taking
// effect from 990 on.
int32_t orderCountAfter(CountStep step, int32_t count, int32_t workshops);
