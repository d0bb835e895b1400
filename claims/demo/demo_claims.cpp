// The demo's made-up claims: tables of names, places, illnesses and hospitals, and one pass that
// draws each claim from them. Only std::mt19937's own output is used (never a distribution,
// whose results differ between libraries), so a seed gives the same claims everywhere.
#include "demo_claims.h"

#include "schema.h"

#include <algorithm>
#include <array>
#include <random>
#include <span>

namespace demo {
namespace {

class Draw {
public:
    explicit Draw(unsigned seed) : random_(seed) {}
    // 0 to n - 1.
    int below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool percent(int chance) { return below(100) < chance; }
    template <typename T> const T& pick(std::span<const T> items) {
        return items[static_cast<std::size_t>(below(static_cast<int>(items.size())))];
    }
    QString pick(std::initializer_list<const char*> items) {
        return QString::fromUtf8(*(items.begin() + below(static_cast<int>(items.size()))));
    }

private:
    std::mt19937 random_;
};

// Tehsil towns of each district, in the order of store::district_names(), and how many claims a
// district sends compared with the others.
struct District {
    std::array<const char*, 4> towns;
    int weight;
};
const std::array<District, 20> kDistricts{{
    {{"Ajnala", "Baba Bakala", "Majitha", "Attari"}, 8},
    {{"Tapa", "Bhadaur", "Dhanaula", "Mehal Kalan"}, 2},
    {{"Rampura Phul", "Talwandi Sabo", "Maur", "Goniana"}, 5},
    {{"Sirhind", "Bassi Pathana", "Amloh", "Khamanon"}, 2},
    {{"Zira", "Guru Har Sahai", "Makhu", "Mamdot"}, 4},
    {{"Kotkapura", "Jaitu", "Sadiq", "Faridkot"}, 2},
    {{"Batala", "Dera Baba Nanak", "Qadian", "Dinanagar"}, 6},
    {{"Dasuya", "Mukerian", "Garhshankar", "Tanda"}, 5},
    {{"Nakodar", "Phillaur", "Shahkot", "Adampur"}, 7},
    {{"Phagwara", "Sultanpur Lodhi", "Bholath", "Kapurthala"}, 3},
    {{"Khanna", "Jagraon", "Samrala", "Raikot"}, 10},
    {{"Budhlada", "Sardulgarh", "Bhikhi", "Mansa"}, 3},
    {{"Baghapurana", "Nihal Singh Wala", "Dharamkot", "Moga"}, 3},
    {{"Malout", "Gidderbaha", "Lambi", "Muktsar"}, 3},
    {{"Kharar", "Dera Bassi", "Zirakpur", "Mohali"}, 4},
    {{"Banga", "Balachaur", "Rahon", "Nawanshahr"}, 2},
    {{"Rajpura", "Nabha", "Samana", "Patran"}, 6},
    {{"Anandpur Sahib", "Nangal", "Chamkaur Sahib", "Morinda"}, 2},
    {{"Sunam", "Dhuri", "Malerkotla", "Lehragaga"}, 5},
    {{"Patti", "Khadoor Sahib", "Bhikhiwind", "Tarn Taran"}, 3},
}};

constexpr std::array<const char*, 12> kVillages{"Kalsian", "Bhullar", "Dhilwan",     "Chananwal",
                                                "Ghudda",  "Sekhwan", "Jandiala",    "Mehma",
                                                "Jhabal",  "Khiala",  "Rurka Kalan", "Bhagta"};

struct Family {
    bool sikh;
    QString surname; // may be empty
};

constexpr std::array<const char*, 24> kSikhMen{
    "Gurpreet", "Harjinder",  "Balwinder", "Sukhwinder", "Jaswinder", "Kulwant",
    "Paramjit", "Manjit",     "Amarjit",   "Rajinder",   "Surinder",  "Harbhajan",
    "Davinder", "Navdeep",    "Ranjit",    "Satnam",     "Gurdev",    "Jagtar",
    "Baljit",   "Lakhwinder", "Kuldip",    "Tarsem",     "Gurcharan", "Hardeep"};
constexpr std::array<const char*, 14> kSikhWomen{
    "Harpreet",  "Manpreet", "Simranjit", "Rajwinder", "Sukhjit", "Gurleen", "Navneet",
    "Parminder", "Amandeep", "Jasleen",   "Kiranjit",  "Balbir",  "Surjit",  "Kamaljit"};
constexpr std::array<const char*, 18> kSikhSurnames{
    "Sandhu", "Gill", "Dhillon", "Sidhu", "Brar",  "Grewal", "Bajwa", "Randhawa", "Cheema",
    "Sekhon", "Virk", "Aulakh",  "Mann",  "Bains", "Sohal",  "Kang",  "Toor",     "Pannu"};
constexpr std::array<const char*, 15> kHinduMen{
    "Rakesh", "Sanjeev",     "Vinod",      "Ashok",           "Pawan",
    "Rajesh", "Anil",        "Sunil",      "Naresh",          "Deepak",
    "Mohan",  "Ram Parkash", "Om Parkash", "Subhash Chander", "Kewal Krishan"};
constexpr std::array<const char*, 11> kHinduWomen{"Neelam", "Sunita",     "Asha",  "Kamlesh",
                                                  "Renu",   "Pooja",      "Anju",  "Meenakshi",
                                                  "Seema",  "Kiran Bala", "Sushma"};
constexpr std::array<const char*, 13> kHinduSurnames{
    "Sharma", "Verma",    "Arora", "Bansal", "Goyal",  "Mittal", "Sood",
    "Kapoor", "Malhotra", "Garg",  "Jindal", "Bhatia", "Chopra"};

QString person(Draw& draw, const Family& family, bool woman) {
    QString name;
    if (family.sikh)
        name = QString::fromUtf8(woman ? draw.pick<const char*>(kSikhWomen)
                                       : draw.pick<const char*>(kSikhMen)) +
               (woman ? " Kaur" : " Singh");
    else
        name = QString::fromUtf8(woman ? draw.pick<const char*>(kHinduWomen)
                                       : draw.pick<const char*>(kHinduMen));
    return family.surname.isEmpty() ? name : name + ' ' + family.surname;
}

Family family(Draw& draw) {
    Family f;
    f.sikh = draw.percent(65);
    if (f.sikh)
        f.surname = draw.percent(60) ? QString(draw.pick<const char*>(kSikhSurnames)) : QString();
    else
        f.surname = draw.pick<const char*>(kHinduSurnames);
    return f;
}

struct Post {
    const char* design;
    int pay_low, pay_high;
    const char* office; // before ", <town>"
};
constexpr std::array<Post, 10> kPosts{{
    {"ETT Teacher", 29200, 41000, "Govt. Primary School"},
    {"Master", 35400, 52000, "Govt. High School"},
    {"Mistress", 35400, 52000, "Govt. Girls High School"},
    {"Lecturer", 47600, 68000, "Govt. Senior Secondary School"},
    {"Head Master", 56100, 74000, "Govt. High School"},
    {"Principal", 60000, 88000, "Govt. Senior Secondary School"},
    {"Clerk", 19900, 31000, "Office of the District Education Officer"},
    {"Senior Assistant", 35400, 50000, "Office of the District Education Officer"},
    {"Lab Attendant", 18000, 26000, "Govt. Senior Secondary School"},
    {"Block Primary Education Officer", 47600, 65000, "Office of the BPEO"},
}};

struct Illness {
    const char* disease;
    int low, high; // amount claimed
};
constexpr std::array<Illness, 16> kIllnesses{{
    {"Cataract (lens implant)", 12000, 35000},
    {"Coronary artery disease (angioplasty)", 150000, 320000},
    {"Coronary artery bypass surgery", 250000, 450000},
    {"Chronic kidney disease (dialysis)", 40000, 160000},
    {"Kidney stones (lithotripsy)", 25000, 70000},
    {"Fracture of femur", 45000, 150000},
    {"Knee replacement", 180000, 300000},
    {"Gall bladder stones", 30000, 80000},
    {"Acute appendicitis", 25000, 60000},
    {"Dengue fever", 8000, 40000},
    {"Typhoid fever", 5000, 20000},
    {"Diabetes with foot ulcer", 15000, 60000},
    {"Carcinoma breast (chemotherapy)", 90000, 350000},
    {"Inguinal hernia", 20000, 55000},
    {"Pneumonia", 15000, 70000},
    {"Pulmonary tuberculosis", 8000, 30000},
}};

constexpr std::array<const char*, 11> kHospitals{"PGIMER, Chandigarh",
                                                 "DMC Hospital, Ludhiana",
                                                 "CMC Hospital, Ludhiana",
                                                 "Rajindra Hospital, Patiala",
                                                 "Guru Nanak Dev Hospital, Amritsar",
                                                 "GGS Medical College Hospital, Faridkot",
                                                 "AIIMS, Bathinda",
                                                 "Fortis Hospital, Mohali",
                                                 "Max Super Speciality Hospital, Bathinda",
                                                 "Capitol Hospital, Jalandhar",
                                                 "Ivy Hospital, Mohali"};

struct Officer {
    const char *name, *design, *branch;
};
constexpr std::array<Officer, 3> kOfficers{{
    {"Jaswant Singh", "Superintendent", "Medical Reimbursement"},
    {"Neena Arora", "Senior Assistant", "Medical Reimbursement"},
    {"S. K. Sharma", "Superintendent", "Accounts"},
}};

int weighted_district(Draw& draw) {
    int total = 0;
    for (const District& d : kDistricts)
        total += d.weight;
    int at = draw.below(total);
    for (std::size_t i = 0; i < kDistricts.size(); ++i) {
        at -= kDistricts[i].weight;
        if (at < 0)
            return static_cast<int>(i);
    }
    return 0;
}

QString rupees(int amount, int step) {
    return QString::number(amount / step * step);
}

// Who was treated: the employee or one of the family, with their name and age.
void patient(Draw& draw, SampleClaim& c, const Family& f, bool woman, int age) {
    const int who = draw.below(100);
    if (who < 45) {
        c.relation = "Self";
        c.pname = c.empname;
        c.page = QString::number(age);
    } else if (who < 65) {
        c.relation = woman ? "Husband" : "Wife";
        c.pname = person(draw, f, !woman);
        c.page = QString::number(std::max(22, age + draw.between(-6, 6)));
    } else if (who < 85) {
        const bool father = draw.percent(50);
        c.relation = father ? "Father" : "Mother";
        c.pname = father ? c.fname : person(draw, f, true);
        c.page = QString::number(std::min(94, age + draw.between(24, 33)));
    } else {
        const bool son = draw.percent(55);
        c.relation = son ? "Son" : "Daughter";
        c.pname = person(draw, f, !son);
        c.page = QString::number(std::max(1, age - draw.between(24, 34)));
    }
    c.claimtype = c.relation == "Self" ? "Self" : "Dependent";
    c.dependpay = c.claimtype == "Self"    ? "0"
                  : c.relation == "Father" ? rupees(draw.between(0, 28000), 100)
                  : c.relation == "Mother" ? rupees(draw.between(0, 12000), 100)
                                           : "0";
}

// The decision a claim of this age has by now.
void decide(Draw& draw, SampleClaim& c, const QDate& today, const char* forced) {
    const qint64 days = c.refdate.daysTo(today);
    const int roll = draw.below(100);
    const bool doubtful = c.documents != "Yes" || c.intime == "No" || c.medicalcrt == "No";
    if (forced != nullptr)
        c.billstatus = forced;
    else if (days > 120)
        c.billstatus = roll < (doubtful ? 40 : 76) ? "Sanctioned"
                       : roll < 88                 ? "Rejected"
                                                   : "Pending";
    else if (days > 30)
        c.billstatus = roll < 42 ? "Sanctioned" : roll < 52 ? "Rejected" : "Pending";
    else
        c.billstatus = roll < 10 ? "Sanctioned" : roll < 15 ? "Rejected" : "Pending";

    c.amtapproved = "0";
    if (c.billstatus == "Sanctioned") {
        const int claimed = c.amtclaimed.toInt();
        c.amtapproved =
            c.apphealth == "Yes" ? c.amthealth : rupees(claimed * draw.between(80, 100) / 100, 10);
        c.appdate = std::min(today, c.refdate.addDays(draw.between(18, 90)));
        c.remarks = draw.pick(
            {"-", "-", "Sanctioned at PGI rates", "As approved by the health department"});
    } else if (c.billstatus == "Rejected") {
        c.remarks = draw.pick(
            {"Bill submitted after six months", "Hospital not on the approved list",
             "Medical certificate not attached", "Documents incomplete after two reminders"});
    }
}

SampleClaim draw_claim(Draw& draw, const QDate& refdate, int district) {
    SampleClaim c;
    const District& home = kDistricts[static_cast<std::size_t>(district)];
    const QString town = QString::fromUtf8(draw.pick<const char*>(home.towns));
    const Family f = family(draw);
    const bool woman = draw.percent(45);
    const int age = draw.between(27, 59);
    const Post& post = draw.pick<Post>(kPosts);

    c.refdate = refdate;
    c.empname = person(draw, f, woman);
    c.fname = person(draw, f, false);
    c.design = post.design;
    c.basicpay = rupees(draw.between(post.pay_low, post.pay_high), 100);

    c.odist = store::district_names()[district];
    // The district's offices stand in its headquarters, the schools in its towns.
    const QString office = post.office;
    c.oaddress = office + ", " + (office.contains("District") ? c.odist : town);
    c.ovill = town;
    c.oteh = town;
    c.oblkname = draw.percent(70) ? town + "-" + QString::number(draw.between(1, 2)) : "-";

    const bool in_village = draw.percent(50);
    const QString village = QString::fromUtf8(draw.pick<const char*>(kVillages));
    c.raddress = in_village ? "VPO " + village
                            : QStringLiteral("House No. %1, Ward %2")
                                  .arg(draw.between(1, 980))
                                  .arg(draw.between(1, 30));
    c.rvill = in_village ? village : town;
    c.rteh = draw.percent(85) ? town : "-";
    c.rdist = c.odist;
    c.rstate = "Punjab";

    patient(draw, c, f, woman, age);
    const Illness& illness = draw.pick<Illness>(kIllnesses);
    c.disease = illness.disease;
    c.hospital = draw.percent(35) ? "Civil Hospital, " + c.odist
                                  : QString(draw.pick<const char*>(kHospitals));
    const int claimed = draw.between(illness.low, illness.high);
    c.amtclaimed = rupees(claimed, 10);
    c.dto = refdate.addDays(-draw.between(10, 80));
    c.dfrom = c.dto.addDays(-draw.between(0, 18));

    const int documents = draw.below(100);
    c.documents = documents < 86 ? "Yes" : documents < 96 ? "Incomplete" : "No";
    c.apphealth = draw.percent(claimed > 50000 ? 80 : 20) ? "Yes" : "No";
    c.amthealth =
        c.apphealth == "Yes" ? rupees(claimed * draw.between(85, 100) / 100, 10) : QString("0");
    c.medicalcrt = draw.percent(93) ? "Yes" : "No";
    c.intime = draw.percent(88) ? "Yes" : "No";

    const Officer& officer = draw.pick<Officer>(kOfficers);
    c.officer = officer.name;
    c.offdesign = officer.design;
    c.branch = officer.branch;
    return c;
}

} // namespace

std::vector<SampleClaim> demo_claims(const QDate& today, int count, unsigned seed) {
    Draw draw(seed);
    // Today's claims, with every decision among them, then the rest over four years; each of
    // the twenty districts first once, then as often as its weight says.
    const std::array<const char*, 8> todays{"Pending", "Sanctioned", "Pending", "Rejected",
                                            "Pending", "Sanctioned", "Pending", "Pending"};
    const QDate first = today.addYears(-4);
    struct Planned {
        QDate refdate;
        int district;
        const char* status;
    };
    std::vector<Planned> plan;
    for (int i = 0; i < count; ++i) {
        const bool on_today = i < static_cast<int>(todays.size());
        const QDate refdate =
            on_today ? today : first.addDays(draw.below(static_cast<int>(first.daysTo(today))));
        const int district = i < 20 ? i : weighted_district(draw);
        plan.push_back(
            {refdate, district, on_today ? todays[static_cast<std::size_t>(i)] : nullptr});
    }
    std::stable_sort(plan.begin(), plan.end(),
                     [](const Planned& a, const Planned& b) { return a.refdate < b.refdate; });

    std::vector<SampleClaim> claims;
    claims.reserve(plan.size());
    for (const Planned& p : plan) {
        SampleClaim c = draw_claim(draw, p.refdate, p.district);
        c.refno = QString::number(101 + static_cast<int>(claims.size()));
        decide(draw, c, today, p.status);
        claims.push_back(std::move(c));
    }
    return claims;
}

} // namespace demo
