-- The platform's database as the client sees it: the SMS template of each demo project, in
-- GBK. The client logs in as root with its password over TCP from loopback.
SET NAMES utf8mb4;
CREATE OR REPLACE USER 'root'@'127.0.0.1' IDENTIFIED BY 'k472915';
GRANT ALL PRIVILEGES ON *.* TO 'root'@'127.0.0.1';
CREATE DATABASE IF NOT EXISTS ch DEFAULT CHARACTER SET gbk;
USE ch;
CREATE TABLE IF NOT EXISTS xiangmu_liebiao (
    id INT AUTO_INCREMENT PRIMARY KEY,
    xiangmu_id VARCHAR(32) NOT NULL,
    xiangmu_mingcheng VARCHAR(128) NOT NULL DEFAULT '',
    duanxinneirou MEDIUMTEXT
) DEFAULT CHARACTER SET gbk;
INSERT INTO xiangmu_liebiao (xiangmu_id, xiangmu_mingcheng, duanxinneirou) VALUES
    ('1001', '微信注册', '【微信】你的注册验证码是352156，5分钟内有效，请勿泄露。'),
    ('1002', 'QQ登录', '【腾讯科技】你正在登录QQ，验证码681249，切勿告诉他人。'),
    ('1003', '抖音验证', '【抖音】验证码903417，用于手机号验证，10分钟内有效。'),
    ('1004', '淘宝注册', '【淘宝网】校验码570823，您正在注册成为新用户，感谢您的支持！'),
    ('1005', '支付宝', '【支付宝】验证码：246810，你正在进行身份验证，打死不要告诉别人。'),
    ('1006', '京东商城', ''),
    ('1007', '美团外卖', '【美团】472915（登录验证码），请在15分钟内填写。'),
    ('1008', '拼多多', '【拼多多】您的验证码是118822，请在5分钟内完成验证。');
FLUSH PRIVILEGES;
