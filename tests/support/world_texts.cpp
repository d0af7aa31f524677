// SPDX-License-Identifier: MIT
#include "random_text.h"
#include "sample_texts.h"

namespace solvena::testing {
namespace {

std::u16string Lines(std::string_view utf8) {
    std::u16string text;
    for (char16_t c : FromUtf8(utf8)) {
        if (c == u'\n') {
            text += u'\r';
        }
        text += c;
    }
    return text;
}

}  // namespace

const std::vector<SampleText>& WorldTexts() {
    static const std::vector<SampleText> texts = {
        {"Thai", Lines("เมื่อวานนี้ฉันไปตลาดกับแม่ ซื้อผักและผลไม้หลายอย่าง อากาศร้อนมากแต่คนก็ยังเยอะ\n"
                       "พรุ่งนี้เราจะทำอาหารให้คุณยายที่บ้าน และจะเชิญเพื่อนบ้านมาทานข้าวด้วยกัน\n")},
        {"Arabic", Lines("ذهبت أمس إلى السوق مع أخي واشترينا خضارا وفاكهة. كان الجو حارا جدا، "
                         "لكن الناس كانوا كثيرين.\nغدا سنطبخ الغداء لجدتنا وندعو الجيران لتناول "
                         "الطعام معنا.\n")},
        {"Hebrew", Lines("אתמול הלכתי לשוק עם אחי וקנינו ירקות ופירות. היה חם מאוד, אבל היו הרבה "
                         "אנשים.\nמחר נבשל ארוחת צהריים לסבתא ונזמין את השכנים לאכול איתנו.\n")},
        {"Devanagari", Lines("कल मैं अपने भाई के साथ बाज़ार गया और हमने सब्ज़ियाँ और फल खरीदे। मौसम "
                             "बहुत गरम था, फिर भी बहुत लोग थे।\nकल हम दादी के लिए खाना बनाएँगे और "
                             "पड़ोसियों को भी बुलाएँगे।\n")},
        {"Tamil", Lines("நேற்று நான் என் தம்பியுடன் சந்தைக்குச் சென்று காய்கறிகளும் பழங்களும் "
                        "வாங்கினேன். வெயில் அதிகமாக இருந்தது, ஆனாலும் நிறைய மக்கள் இருந்தனர்.\n"
                        "நாளை பாட்டிக்கு மதிய உணவு சமைப்போம்.\n")},
        {"Georgian", Lines("გუშინ ძმასთან ერთად ბაზარში წავედი და ბოსტნეული და ხილი ვიყიდეთ. "
                           "ძალიან ცხელოდა, მაგრამ ხალხი ბევრი იყო.\nხვალ ბებიას სადილს "
                           "მოვუმზადებთ და მეზობლებსაც დავპატიჟებთ.\n")},
        {"Hangul", Lines("어제 동생과 함께 시장에 가서 채소와 과일을 샀다. 날씨가 아주 더웠지만 "
                         "사람이 많았다.\n내일은 할머니께 점심을 만들어 드리고 이웃들도 초대할 "
                         "생각이다.\n")},
        {"simplified Chinese",
         Lines("昨天我和弟弟一起去市场买了蔬菜和水果。天气很热，但是人还是很多。\n"
               "明天我们要给奶奶做午饭，还想请邻居们一起来吃。\n")},
        {"traditional Chinese",
         Lines("昨天我和弟弟一起去市場買了蔬菜和水果。天氣很熱，但是人還是很多。\n"
               "明天我們要給奶奶做午飯，還想請鄰居們一起來吃。\n")},
        {"Cyrillic", Lines("Вчера я ходил с братом на рынок, и мы купили овощи и фрукты. Было "
                           "очень жарко, но людей всё равно было много.\nЗавтра мы приготовим "
                           "обед для бабушки и пригласим соседей.\n")},
        {"Greek", Lines("Χθες πήγα με τον αδελφό μου στην αγορά και αγοράσαμε λαχανικά και "
                        "φρούτα. Έκανε πολλή ζέστη, αλλά είχε πολύ κόσμο.\nΑύριο θα μαγειρέψουμε "
                        "μεσημεριανό για τη γιαγιά.\n")},
        {"emoji", Lines("Party tonight 🎉🎂 bring snacks 🍕🍩 and music 🎶!\n"
                        "See you at 8 😀👍 and don't forget the gift 🎁\n")},
    };
    return texts;
}

const std::vector<SampleText>& WorldNotes() {
    static const std::vector<SampleText> notes = {
        {"Thai", FromUtf8("ประชุมบ่ายสองโมง")},
        {"Arabic", FromUtf8("اتصل بأحمد غدا")},
        {"Hebrew", FromUtf8("להתקשר לדני מחר")},
        {"Devanagari", FromUtf8("कल सुबह दस बजे")},
        {"Tamil", FromUtf8("நாளை காலை பத்து மணி")},
        {"Georgian", FromUtf8("ხვალ დილით ათზე")},
        {"Hangul", FromUtf8("내일 오전 열 시 회의")},
        {"simplified Chinese", FromUtf8("明天上午十点在公司开会")},
        {"traditional Chinese", FromUtf8("明天上午十點在公司開會")},
        {"Cyrillic", FromUtf8("Позвонить Ивану завтра")},
        {"Greek", FromUtf8("Τηλεφώνησε στον Νίκο")},
        {"emoji", FromUtf8("🎉🎂🍕😀👍🎶🍩🎁🎈🥳")},
    };
    return notes;
}

}  // namespace solvena::testing
